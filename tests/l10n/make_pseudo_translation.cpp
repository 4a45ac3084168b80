// make_pseudo_translation IN.ts OUT.ts
//
// Writes a pseudo-translation of every source text of IN.ts: the text in
// brackets, each line lengthened by a third with "~", its places (%1..%9) and
// access keys ("&") kept. A window started on it shows at once a text that
// missed translation (no brackets) and one that a longer language would cut
// off (the window's tests look for both).

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cstdio>

namespace {

QString pseudo(const QString& source) {
    QStringList lines = source.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        line += QString((line.size() + 2) / 3, QLatin1Char('~'));
    }
    return QLatin1Char('[') + lines.join(QLatin1Char('\n')) + QLatin1Char(']');
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: make_pseudo_translation IN.ts OUT.ts\n");
        return 2;
    }
    QFile in(arguments[1]);
    QFile out(arguments[2]);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "make_pseudo_translation: cannot open the files\n");
        return 1;
    }
    QXmlStreamReader reader(&in);
    QXmlStreamWriter writer(&out);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeDTD(QStringLiteral("<!DOCTYPE TS>"));
    QString source;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement()) {
            writer.writeEndElement();  // TS, context or message: the others are read whole
            continue;
        }
        if (!reader.isStartElement()) {
            continue;
        }
        const QString name = reader.name().toString();
        if (name == QLatin1String("TS") || name == QLatin1String("context") || name == QLatin1String("message")) {
            writer.writeStartElement(name);
            writer.writeAttributes(reader.attributes());
        } else if (name == QLatin1String("translation")) {
            reader.skipCurrentElement();
            writer.writeTextElement(name, pseudo(source));
        } else if (name == QLatin1String("name") || name == QLatin1String("source") ||
                   name == QLatin1String("comment")) {
            const QString text = reader.readElementText();
            writer.writeTextElement(name, text);
            if (name == QLatin1String("source")) {
                source = text;
            }
        } else {
            reader.skipCurrentElement();
        }
    }
    writer.writeEndDocument();
    if (reader.hasError()) {
        std::fprintf(stderr, "make_pseudo_translation: %s\n", qPrintable(reader.errorString()));
        return 1;
    }
    return out.flush() ? 0 : 1;
}
