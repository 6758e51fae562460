// The button page in the user's language: the option font, every text of the page, the two label
// prefixes, and the mouse's assignments shown again in the new language.
#include "pages/buttons/Buttoninterface.h"

#include "device/ConnectionState.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "pages/buttons/ButtonTables.h"
#include "pages/buttons/DebounceTime.h"
#include "platform/ScreenInfo.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_Buttoninterface.h"
#include "widgets/UiText.h"

#include <QSignalBlocker>
#include <QToolButton>

namespace {

// The language whose texts the import and export buttons also carry as tooltips.
constexpr int TooltipLanguage = 5;
// The language whose menu entries take the smaller font.
constexpr int SmallFontLanguage = 4;

const QString Reader = QStringLiteral("Buttoninterface");

} // namespace

bool Buttoninterface::RecordToShowAgain(FlashDataMap& record) const
{
    FlashDataMap cached{};
    if (!ReadDeviceInfoCache(CacheFileName.Get(), &cached))
        return false;
    // The working copy is the mouse's record only while the mouse answers and the copy was read
    // from it; otherwise the cache file holds the newest record known.
    const bool online = VidEzorarA_GetDeviceOnLine(CurrentDevicePath) != 0;
    record = online && DeviceConfigIsCurrent ? DeviceConfigSnapshot() : cached;
    return true;
}

void Buttoninterface::SlotAllLanguage(int index)
{
    // The window scales every font once at start; later calls scale their own.
    QFont font(QStringLiteral("微软雅黑"), index == SmallFontLanguage ? 7 : 9);
    if (ScaleLanguageFonts)
        font.setPointSizeF(font.pointSizeF() / (ScreenInfo::LogicalDpi() / 96.0));
    for (const char* entry : ButtonTables::MenuEntryNames())
        findChild<QToolButton*>(QLatin1String(entry))->setFont(font);
    ScaleLanguageFonts = true;

    const QString import = UiText::ForReader(index, Reader, QStringLiteral("Import"));
    const QString exportText = UiText::ForReader(index, Reader, QStringLiteral("Export"));
    ui->ImportData->setToolTip(index == TooltipLanguage ? UiText::ForReader(TooltipLanguage, Reader, QStringLiteral("Import"))
                                                        : QString());
    ui->ImportData->setText(import);
    ui->OutputData->setToolTip(index == TooltipLanguage ? UiText::ForReader(TooltipLanguage, Reader, QStringLiteral("Export"))
                                                        : QString());
    ui->OutputData->setText(exportText);

    for (const ButtonTables::PageLabelRow& row : ButtonTables::PageLabelRows()) {
        const QStringList labels = UiText::OptionLabels(index, QStringLiteral("KeyOptions"), QLatin1String(row.value));
        findChild<QToolButton*>(QLatin1String(row.object))->setText(labels.value(row.position));
    }
    ui->Button7->setText(QStringLiteral("DPI+"));
    ui->Button8->setText(QStringLiteral("DPI-"));
    ui->label_3->setText(UiText::ForReader(index, Reader, QStringLiteral("DebounceTime")));

    MacroTextPrefix = UiText::ForReader(index, Reader, QStringLiteral("MacroSeond"));
    ProfileTextPrefix = UiText::Option(index, QStringLiteral("ProfileOptions"), QStringLiteral("0"));
    ProfileTextPrefix.remove(QLatin1Char('1'));
    for (int i = 0; i < DebounceTime::ItemCount; ++i)
        ui->DebunceButton->SetItemText(i, QStringLiteral("ms"));

    // Without a record the selectors keep the labels above and the copy what it held.
    FlashDataMap record{};
    if (RecordToShowAgain(record))
        ShowRecord(record, ModelButtonCount());

    // The profile entries follow the language also without a record: the user's choice stays, and
    // no choice is announced.
    const int count = ui->ProjectChoose->count();
    const int current = ui->ProjectChoose->currentIndex();
    {
        const QSignalBlocker blocker(ui->ProjectChoose);
        ui->ProjectChoose->clear();
        for (int i = 0; i < count; ++i)
            ui->ProjectChoose->insertItem(i, ProfileTextPrefix + QString::number(i + 1));
        ui->ProjectChoose->setCurrentIndex(current);
    }
    emit PostMsg::Instance()->SigAddConfig(ui->ProjectChoose->currentText());
}
