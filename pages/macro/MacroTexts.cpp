// The macro page's texts in the UI language.
#include "pages/macro/Macro.h"

#include "device/KeyNames.h"
#include "ui_Macro.h"
#include "widgets/UiText.h"

namespace {

QString PageText(int index, const char* key)
{
    return UiText::ForReader(index, QStringLiteral("Macro"), QLatin1String(key));
}

QString EventOption(int index, const char* command)
{
    return UiText::Option(index, QStringLiteral("InsertEventOptions"), QLatin1String(command));
}

} // namespace

void Macro::SlotAllLanguage(int index)
{
    ui->label->setText(PageText(index, "MacroList"));
    ui->label_2->setText(PageText(index, "KeyList"));
    // The new-macro button has a tool tip in no language the program ships.
    ui->NewHong->setToolTip(index == 5 ? PageText(index, "NewMacro") : QString());
    ui->NewHong->setText(PageText(index, "NewMacro"));
    ui->DeleteHong->setText(PageText(index, "Delete"));
    ui->Amend->setText(PageText(index, "Modify"));
    ui->DeleteKey->setText(PageText(index, "Delete"));
    ui->StartRecord->setText(PageText(index, "StartRecord"));
    ui->StopRecord->setText(PageText(index, "StopRecord"));
    ui->AutoInsertDelayLabel->setText(PageText(index, "AutoDelay"));
    ui->DefaultDelay->setText(PageText(index, "DefaultDelay"));
    ui->ReUntilLooseLabel->setText(PageText(index, "UntilThisReleased"));
    ui->ReUntilClickLabel->setText(PageText(index, "UntilAnyPressed"));
    ui->ReUntilLabel->setText(PageText(index, "UntilThisPressed"));
    ui->ReNumber->setText(PageText(index, "CycleTimes"));
    ui->label_3->setText(PageText(index, "InsertEvent"));
    ui->ChooseEvent->setItemText(1, EventOption(index, "0"));
    ui->ChooseEvent->setItemText(2, EventOption(index, "1"));
    ui->ChooseEvent->setItemText(3, PageText(index, "Delay"));
    // Options "2" .. "6" name the left, right, middle, forward and back buttons.
    static const char* const buttonOptions[] = {"2", "3", "4", "5", "6"};
    static const int buttonSlots[] = {0, 1, 2, 4, 3}; // their MouseButtonNames: bits 0x01, 0x02, 0x04, 0x10, 0x08
    for (int i = 0; i < 5; ++i) {
        const QString name = EventOption(index, buttonOptions[i]);
        KeyNames::MouseButtonNames[size_t(buttonSlots[i])] = name;
        ui->ChooseEvent->setItemText(4 + i, name);
    }
    ui->Save->setText(PageText(index, "Save"));
    macroLabelPrefix = PageText(index, "MacroSeond");
    exportText = PageText(index, "MacroExport");
    renameText = PageText(index, "Rename");
    deleteText = PageText(index, "Delete");
    newMacroText = PageText(index, "NewMacro");
    importText = PageText(index, "MacroImport");
}

QString Macro::MenuText(const QString& key) const
{
    if (key == QLatin1String("MacroExport"))
        return exportText;
    if (key == QLatin1String("Rename"))
        return renameText;
    if (key == QLatin1String("Delete"))
        return deleteText;
    if (key == QLatin1String("NewMacro"))
        return newMacroText;
    if (key == QLatin1String("MacroImport"))
        return importText;
    if (key == QLatin1String("MacroSeond"))
        return macroLabelPrefix;
    return QString();
}
