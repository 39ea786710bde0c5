#include "TsSkinSelector.h"

#include "TsSkinManager.h"

#include <QSignalBlocker>
#include <QStandardItemModel>

TsSkinSelector::TsSkinSelector(TsSkinManager* manager, QWidget* parent)
    : QComboBox(parent), manager_(manager) {
    setMaxVisibleItems(20);
    Refresh();
    connect(this, &QComboBox::activated, this, &TsSkinSelector::Chosen);
    connect(manager_, &TsSkinManager::SkinChanged, this, &TsSkinSelector::Refresh);
    connect(manager_, &TsSkinManager::SkinDirectoryChanged, this, &TsSkinSelector::Refresh);
}

void TsSkinSelector::Refresh() {
    const QSignalBlocker blocker(this);
    const QStringList names = manager_->AvailableSkins();
    if (count() != names.size() + 1 || itemText(0) != StandardThemeText()) {
        clear();
        addItem(StandardThemeText());
        addItems(names);
    } else {
        for (qsizetype i = 0; i < names.size(); ++i)
            setItemText(static_cast<int>(i + 1), names[i]);
    }
    if (auto* items = qobject_cast<QStandardItemModel*>(model()))
        items->item(0)->setEnabled(manager_->Active());
    setCurrentIndex(manager_->Active() ? std::max(0, findText(manager_->SkinName(),
                                                              Qt::MatchExactly | Qt::MatchCaseSensitive))
                                       : 0);
}

void TsSkinSelector::showPopup() {
    Refresh();
    QComboBox::showPopup();
}

void TsSkinSelector::Chosen(int index) {
    if (index == 0)
        manager_->SetActive(false);
    else if (index > 0)
        manager_->SelectSkin(itemText(index));
    // A theme that could not be used leaves the engine as it was: show that again.
    Refresh();
}
