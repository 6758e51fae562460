#pragma once
#include "device/DeviceAllInfo.h"
#include "device/DeviceState.h"
#include "device/FlashDataMap.h"

#include <QObject>
#include <QString>

// The program-wide signal bus. Whoever has news emits it here; whoever needs it connects here in
// its constructor. Records travel by value. The three program types are not registered as
// meta-types: they cross threads only over blocking queued connections, where the emitter's own
// argument is read in place while the emitter waits.
class PostMsg : public QObject
{
    Q_OBJECT
public:
    // The one bus, created on first use (on the GUI thread, before any other thread exists) and never freed.
    static PostMsg* Instance();

signals:
    void SigChangeMainDialog(int index);
    void SigChangeSize(int index);
    void SigUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable);
    void SigUpDataLightUIButton(FlashDataMap DataMap);
    void SigUpDataLightLight(FlashDataMap DataMap);
    void SigUpDataLightSensor(FlashDataMap DataMap);
    void SigUpDataLightUIA(FlashDataMap DataMap);
    void SigUpDataSensorUIB(FlashDataMap DataMap);
    void SigUpDataButtonUIC(FlashDataMap DataMap);
    void SigButtonToMacro(FlashDataMap DataMap, int KeyNumer);
    void SigSelectMouseInfo(DeviceAllInfo SelectInfo);
    void SigMouseOffLineo(int index);
    void SigMainPageChange();
    void SigSecondPageChange();
    void SigUpPageLight();
    void SigAddMacroButton();
    void SigDeleteMacroButton(QString MacroName);
    void SigMacroDownLoadData(QString MacroName, int index);
    void SigUpDataMacro(QString MacroName, int index);
    void SigUpDataParam(int index);
    void SigUpDataReportRate(int index);
    void SigUpDataDPI(int index);
    void SigUpDataDPILed(FlashDataMap DataMap);
    void SigTimerStop();
    void SigButtonEnable(int index);
    void SigLabelText(int index, QString Text);
    void SigLabelTextB(QString TextA, QString Text);
    void SigCloseUpdate();
    void SigProgress(int index, int value);
    void SigBattery(bool IsCharg, int Number, bool IsText);
    void SigAutoRepair(int index);
    void SigAutoRepairProgress(int index);
    void SigChangeLanguage(int index);
    void SigLanguageSameA(int index);
    void SigLanguageSameB(int index);
    void SigCloseOffOnline();
    void SigSetMacroPage();
    void SigStartRecord(int index);
    void SigUpDateButton(bool IsHide);
    void SigMacroRename(QString Rename, QString Name);
    void SigSetver(int index);
    void SigCloseProgress();
    void SigRGBValue(DongleRGB* Rgb);
    void SigLongRangeMode(bool Select);
    void SigForm();
    void SigFormB();
    void SigEnterKey();
    void SigFormReset();
    void SigHideModel(int index);
    void SigContinue(int);
    void SigMouseIndex(int index);
    void SigUpdateStart();
    void SigCheckUpdate();
    void SigRepairCheckUpdate();
    void SigSetNewVer();
    void SigLightToFrom(int index);
    void SigButtonCheck();
    void SigAllLanguage(int Index);
    void SigUpdateFrame(bool IsVis);
    void SigAddSensor(int Value);
    void SigAddReport(int Value);
    void SigAddLOD(QString Value);
    void SigDebunce(QString Value);
    void SigAddConfig(QString Value);
    void SigAddVer(int Type, QString Ver);
    void SigAddUpdate(int Type, bool Isupdate);
    void Sig20KOpen(bool Open);
    void SigtVis(int index);
    void SigIsUsb(bool Usb, bool IsVs);

private:
    PostMsg() = default;
};
