#include "widgets/UiText.h"

#include "widgets/UiTextTables.h"

#include <QDebug>

int UiLanguage = 0;

namespace {

QStringList List(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* item : items)
        list << QString::fromLatin1(item);
    return list;
}

} // namespace

int UiText::ValidLanguage(int index)
{
    return index >= 0 && index <= 2 ? index : 0;
}

QString UiText::Text(int language, const QString& section, const QString& key)
{
    const UiLanguageTables& tables = UiTextTables::Instance()->Language(ValidLanguage(language));
    return tables.mouseTexts.value(section).value(key);
}

QString UiText::KeyboardText(int language, const QString& section, const QString& key)
{
    const UiLanguageTables& tables = UiTextTables::Instance()->Language(ValidLanguage(language));
    return tables.keyboardTexts.value(section).value(key);
}

QStringList UiText::OptionLabels(int language, const QString& list, const QString& key)
{
    const UiLanguageTables& tables = UiTextTables::Instance()->Language(ValidLanguage(language));
    return tables.mouseOptions.value(list).values(key);
}

QString UiText::Option(int language, const QString& list, const QString& key)
{
    const UiLanguageTables& tables = UiTextTables::Instance()->Language(ValidLanguage(language));
    return tables.mouseOptions.value(list).value(key);
}

const UiText::Reader* UiText::FindReader(const QString& className)
{
    for (const Reader& reader : Readers()) {
        if (reader.className == className)
            return &reader;
    }
    return nullptr;
}

QString UiText::ForReader(int language, const QString& className, const QString& key)
{
    const Reader* reader = FindReader(className);
    if (!reader) {
        qWarning() << "UiText: no text sections listed for" << className;
        return QString();
    }
    if (!reader->keys.contains(key))
        qWarning() << "UiText:" << className << "reads the unlisted key" << key;
    const UiLanguageTables& tables = UiTextTables::Instance()->Language(ValidLanguage(language));
    for (const QString& section : reader->sections) {
        const auto table = tables.mouseTexts.constFind(section);
        if (table != tables.mouseTexts.constEnd() && table->contains(key))
            return table->value(key);
    }
    return QString();
}

const QVector<UiText::Reader>& UiText::Readers()
{
    // Sections in the order a class looks a key up; keys as the class reads them.
    static const QVector<Reader> readers = {
        {"DialogMain", List({"home"}), List({"OpenMain", "Exit"})},
        {"DialogChange", List({"home", "common", "infoTips", "update"}),
         List({"NoApear", "DialogOffline", "PleaseEnter", "ClickIn", "PairTips_z", "RepairDevice", "RepairTips",
               "UpgradeTips", "OK", "NewVerTips"})},
        {"Match", List({"home", "pair"}), List({"NoPair", "DialogPairTips", "StartPair", "Pairing", "PairFail", "PairSuccess"})},
        {"QuestiondialogB", List({"home"}), List({"ErrorDevice"})},
        {"GroupKey", List({"home", "common"}), List({"ComKey", "OK", "Cancel"})},
        {"AddDelayTime", List({"home", "common"}), List({"EnterDelay", "OK", "Cancel"})},
        {"addKey", List({"home", "common"}), List({"EnterKey", "OK", "Cancel"})},
        {"MakeMacro", List({"home", "common"}), List({"MakeMaro", "OK"})},
        {"GroupMaxThree", List({"home", "common"}), List({"MaxThree", "OK"})},
        {"RePair", List({"home", "common"}), List({"Repair", "OK", "Cancel"})},
        {"UpDateRepair", List({"home", "common", "update"}),
         List({"WarnUpdate", "DialogUpgradeStart", "NotDevice", "SameDevice", "DialogUpgradeFail", "DialogUpgradeSuccess",
               "Cancel", "OK", "NoRecieve", "NoUSB", "Error1", "Error", "ErrorFile", "MultiDongle", "MultiMouse",
               "ReadyUpdate", "UpgradeRunning"})},
        {"FormSetting", List({"home", "Settings", "pair", "update"}),
         List({"Version", "DeviceInfo", "DongleVersion", "MouseVersion", "Upgrade", "Restore", "WiredMode", "NoDevice",
               "SameDevice", "newTips", "NoRecieve", "NoUSB", "Error", "MultiMouse", "MultiDongle", "MouseUpdateTips",
               "Language", "PairTool", "Pair", "Others", "AutoOpen", "WindowSet", "LabelTip", "AutoOpenFail",
               "WindowSetFail", "LinkFail", "ErrorFile"})},
        // The receiver LED information and the screen picture dialogs show their form's texts.
        {"LedInfo", List({"Settings"}), {}},
        {"InputPicA", List({"Settings"}), {}},
        {"InputPicB", List({"Settings"}), {}},
        {"FindNewVer", List({"home", "common", "update"}), List({"UpgradeTips", "OK", "NoApear"})},
        {"Macro", List({"common", "macro"}),
         List({"MacroList", "KeyList", "NewMacro", "Delete", "Modify", "StartRecord", "StopRecord", "AutoDelay",
               "DefaultDelay", "UntilThisReleased", "UntilAnyPressed", "UntilThisPressed", "CycleTimes", "InsertEvent",
               "Delay", "Save", "MacroSeond", "MacroExport", "Rename", "MacroImport", "ExportMacroTitle",
               "ImportMacroTitle"})},
        {"QuestionDialog", List({"common", "macro"}), List({"DialogSelectMacroFirst", "DialogInputMacroName", "Cancel", "OK"})},
        {"MouseOffLine", List({"common", "infoTips"}), List({"DialogOffline", "TimeOut", "OK"})},
        {"FireKey", List({"common", "key"}),
         List({"DialogFireKeyTimes", "DialogFireKeyInterval", "DialogFireKeyTips", "OK", "Cancel"})},
        // The page's other refusals share this notice, each with its own text.
        {"SameMacro", List({"common", "macro"}),
         List({"DialogSameMacroName", "DialogMacroNameRefused", "DialogMacroFileFailed", "DialogMacroExportFailed",
               "DialogMacroNotTaken", "DialogMacroNotSentAtQuit", "DialogMacroFileNotKept", "OK"})},
        {"ContainReset", List({"common", "Settings"}), List({"DialogRestore", "OK", "Cancel"})},
        {"KeyNumberLimit", List({"common", "macro"}), List({"DialogMaxMacroKey", "OK"})},
        // Read from the language file by the notice itself; listed so every file is checked for them.
        {"ExeIsRun", List({"home", "common", "macro"}), List({"OnRun", "OK", "DialogSelectMacroFirst", "DialogStopRecordFirst"})},
        {"DeleteConfirm", List({"common", "macro"}), List({"DialogDeleteMacro", "OK"})},
        {"InportFail", List({"common", "key"}), List({"DialogConfigError", "DialogEConfigMismatch", "OK"})},
        {"UpDateWarning", List({"common"}), List({"OK"})},
        {"LessThree", List({"common", "key"}), List({"DialogDebounceTips", "OK"})},
        {"UpDataParam", List({"infoTips"}), List({"DialogUpdating"})},
        {"FileNotices", List({"infoTips", "common"}),
         List({"ModelListMissing", "ModelListUnreadable", "ModelListGarbled", "ModelListGroupMissing", "UnknownModel",
               "SettingsNotKept", "ExportNotWritten", "FileRefused", "ExportRefused", "OK"})},
        {"Buttoninterface", List({"key", "macro"}),
         List({"Import", "Export", "DebounceTime", "MacroSeond", "ExportConfigTitle", "ImportConfigTitle"})},
        {"PreVier", List({"key", "sensor", "Settings"}),
         List({"ReportRate", "DebounceTime", "configName", "MouseVersion", "DongleVersion"})},
        {"LeftButtonOnly", List({"key"}), List({"DialogKeepLeftKey"})},
        {"LampLight", List({"light"}), List({"DPIEffect", "Speed", "Brightness"})},
        {"SensorEffect", List({"light"}), {}},
        {"MouseLight", List({"light"}),
         List({"LightMode", "Brightness", "Speed", "MovingOffLight", "Preview", "CustomColor", "Preset"})},
        {"ReceiveLight", List({"light"}), List({"receiverLight", "Brightness", "Speed", "Preview", "CustomColor", "Preset"})},
        {"OneLed", List({"light"}), List({"receiver"})},
        {"ThreeLed", List({"light"}), List({"receiver", "PreviewLightsTips", "default"})},
        {"ReceiverRefusalNotice", List({"light"}), List({"ReceiverRefused"})},
        {"Sensor", List({"sensor"}),
         List({"DPISetting", "ReportRate", "SensorSetting", "SensorMode", "SensorModeTips", "LOD", "LODTips", "MotionSync",
               "MotionSyncTips", "Performance", "PerformanceTips", "Ripple", "RippleTips", "Angle", "AngleTips"})},
        {"SensorDPI", List({"sensor"}), List({"DPILevels"})},
        {"SensorRate", List({"sensor"}), List({"ReportRate"})},
        {"SensorLOD", List({"sensor"}), List({"LOD", "LODTips"})},
        {"RippeControl", List({"sensor"}), List({"Ripple", "RippleTips"})},
        {"StraightLine", List({"sensor"}), List({"Angle", "AngleTips"})},
        {"MotionSync", List({"sensor"}), List({"MotionSync", "MotionSyncTips"})},
        {"Progress", List({"Settings", "update"}),
         List({"OK", "DialogUpgradeUpgrading", "DialogUpgradeFail", "DialogUpgradeSuccess"})},
        {"Advanced", List({"AdvancedSettings"}),
         List({"SleepTime", "SleepTimeTips", "dpiModeTipsX", "dpiModeTipsY", "dpiSensitivityTitle", "dpiSensitivityTips",
               "dpiModeTitle"})},
        {"KFPS20", List({"AdvancedSettings"}), List({"scanningTitle", "scanningTips"})},
        {"LongMode", List({"AdvancedSettings"}), List({"LongDistance", "LongDistanceTips"})},
        {"AngleMove", List({"AdvancedSettings"}), List({"AngularMode", "AngularModeTips"})},
    };
    return readers;
}
