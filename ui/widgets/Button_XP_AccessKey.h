#pragma once

#include <QChar>
#include <QString>

// Access keys in captions: "&" marks the character after it, "&&" stands for
// an ampersand of its own.
namespace buttonxp {

// The lower-case access key of a caption; null when it has none. Only the
// first two ampersands are looked at: "&Open" gives o, "Save && &Start" gives
// s, and "A&", "&&" and "A&&B" give none.
QChar accessKeyOf(const QString& caption);

// The caption as shown and read aloud: "Save && &Start" is "Save & Start".
QString withoutAccessMarks(const QString& caption);

// How the key is pressed, "Alt+o"; empty for a null key.
QString accessKeyText(QChar key);

}  // namespace buttonxp
