#include "ui/widgets/ListDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Fonts.h"

namespace {

// A dialog in the window's face: `text` above `list`, `buttons` below, the
// list named after the dialog for assistive technology.
void layOutListDialog(QDialog& dialog, const QString& caption, const QString& text, QWidget* list,
                      QDialogButtonBox* buttons) {
    dialog.setWindowTitle(caption);
    dialog.setFont(platform::windowFont(QApplication::font("QMessageBox").pointSizeF()));
    auto* layout = new QVBoxLayout(&dialog);
    auto* intro = new QLabel(text, &dialog);
    intro->setWordWrap(true);
    intro->setBuddy(list);
    list->setAccessibleName(caption);
    list->setMinimumSize(480, 200);
    layout->addWidget(intro);
    layout->addWidget(list);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
}

}  // namespace

bool reviewList(QWidget* owner, const QString& caption, const QString& text, const QStringList& lines,
                const QString& acceptCaption) {
    QDialog dialog(owner);
    auto* list = new QPlainTextEdit(lines.join(QLatin1Char('\n')), &dialog);
    list->setReadOnly(true);  // selectable and copyable, not editable
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QDialogButtonBox(&dialog);
    if (acceptCaption.isEmpty()) {
        buttons->addButton(QDialogButtonBox::Close);
    } else {
        buttons->addButton(acceptCaption, QDialogButtonBox::AcceptRole)->setDefault(true);
        buttons->addButton(QDialogButtonBox::Cancel);
    }
    layOutListDialog(dialog, caption, text, list, buttons);
    return dialog.exec() == QDialog::Accepted && !acceptCaption.isEmpty();
}

int chooseFromList(QWidget* owner, const QString& caption, const QString& text, const QStringList& lines,
                   int preselected, const QString& acceptCaption) {
    QDialog dialog(owner);
    auto* list = new QListWidget(&dialog);
    list->addItems(lines);
    if (preselected >= 0 && preselected < lines.size()) {
        list->setCurrentRow(preselected);
    }
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(acceptCaption, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    layOutListDialog(dialog, caption, text, list, buttons);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    if (dialog.exec() != QDialog::Accepted) {
        return -1;
    }
    return list->currentRow();
}

void useListDialogs(platform::Services& services) {
    if (!services.reviewList) {
        services.reviewList = reviewList;
    }
    if (!services.chooseFromList) {
        services.chooseFromList = chooseFromList;
    }
}
