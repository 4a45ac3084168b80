#include "ui/main_window/CatalogueHost.h"

#include <QCoreApplication>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStringListModel>
#include <algorithm>

#include "core/Fields.h"
#include "platform/Text.h"
#include "ui/main_window/FieldStates.h"
#include "ui/main_window/FormLayout.h"
#include "ui/main_window/NamePickers.h"
#include "ui/main_window/Pickers.h"
#include "ui/main_window/Telling.h"

namespace {

// The club category logo field on `row`: the one with a file-name indicator.
const Field* logoField(int row) {
    for (const Field& field : fields()) {
        if (field.indicator != 0 && field.row == row) {
            return &field;
        }
    }
    return nullptr;
}

}  // namespace

void CatalogueHost::appendCategory(const std::string& identifier) {
    const QString item = platform::fromUtf8(identifier);
    for (const Field& field : fields()) {
        if (field.kind == FieldKind::Cat) {
            if (QComboBox* picker = form_.picker(field)) {
                appendPickerItem(picker, item);
            }
        }
    }
}

void CatalogueHost::appendName(const std::string& item) {
    names_.push_back(item);
}

void CatalogueHost::appendStructure(const std::string& item) {
    form_.List1->addItem(platform::fromUtf8(item));
}

void CatalogueHost::setExecutableName(const std::string& name) {
    form_.Nazwa_Exe->setText(platform::fromUtf8(name));
}

std::string CatalogueHost::logoBoxText(int row) const {
    const Field* field = logoField(row);
    const QLineEdit* box = field ? form_.box(*field) : nullptr;
    return box ? platform::toUtf8(box->text()) : std::string();
}

void CatalogueHost::setLogoIndicator(int row, const std::string& fileName) {
    const Field* field = logoField(row);
    if (QLabel* indicator = field ? form_.indicator(*field) : nullptr) {
        const QString name = platform::fromUtf8(fileName);
        indicator->setText(name);
        // Let the whole file name show, however narrow the label was laid out.
        indicator->resize(std::max(indicator->minimumWidth(), indicator->sizeHint().width()), indicator->height());
        // A screen reader on the box hears what the label beside it shows.
        setFieldState(form_.box(*field), FieldState::LogoFile,
                      QCoreApplication::translate("CatalogueHost", "Logo file: %1.").arg(name));
    }
}

void CatalogueHost::shareNames(QObject* owner) {
    QStringList items;
    items.reserve(static_cast<qsizetype>(names_.size()));
    for (const std::string& item : names_) {
        items.append(platform::fromUtf8(item));
    }
    names_.clear();
    auto* names = new QStringListModel(items, owner);
    names->setObjectName(QStringLiteral("nameCatalogue"));
    for (const Field& field : fields()) {
        if (field.kind == FieldKind::Str) {
            if (QComboBox* picker = form_.picker(field)) {
                sharePickerList(picker, names);
            }
        }
    }
}

NameCatalogue CatalogueHost::takeNameCatalogue() {
    std::vector<std::string> items;
    items.swap(names_);
    return NameCatalogue(std::move(items));
}

NameLists* CatalogueHost::shareNameLists(const NameCatalogue& catalogue, QObject* owner) {
    auto* lists = new NameLists(catalogue, owner);
    for (const Field& field : fields()) {
        if (field.kind == FieldKind::Str) {
            if (auto* picker = qobject_cast<Picker*>(form_.picker(field))) {
                lists->attach(picker, pickerCaption(field));
            }
        }
    }
    return lists;
}

void CatalogueHost::catalogueSkipped(const std::string& message) {
    QWidget* owner = form_.Lokalizacja ? form_.Lokalizacja->window() : nullptr;
    tellUser(owner, platform::MessageIcon::Warning, platform::fromUtf8(message));
}
