// The options of the function menu that assign in one click.
#include "pages/buttons/Buttoninterface.h"

#include "device/KeyRecords.h"
#include "pages/buttons/ButtonTables.h"
#include "ui_Buttoninterface.h"

void Buttoninterface::ChooseOption(const QString& option, bool checked)
{
    const ButtonTables::OptionRow* row = ButtonTables::FindOption(option);
    if (!checked || !row)
        return;
    if (row->mainList)
        UncheckAllOptions();
    const auto* chosen = findChild<QToolButton*>(option);
    const QString text = chosen ? chosen->text() : QString();
    switch (row->kind) {
    case ButtonTables::OptionKind::Triple:
        AssignToSelected(row->type, row->p1, 0, text);
        break;
    case ButtonTables::OptionKind::Multimedia:
        AssignConsumerKey(SelectedButton(), row->code);
        break;
    case ButtonTables::OptionKind::DpiLock:
        // The device takes the code's low 8 bits; the copy keeps the whole code.
        AssignToSelected(row->type, dpiCodes.DPIValueToCode(row->dpiValue), 0,
                         ui->DPI_4->text() + QLatin1Char('-') + text);
        break;
    }
    CloseFunctionMenu();
}

void Buttoninterface::on_LeftKey_3_clicked(bool checked)
{
    ChooseOption(QStringLiteral("LeftKey_3"), checked);
}

void Buttoninterface::on_RightKey_3_clicked(bool checked)
{
    ChooseOption(QStringLiteral("RightKey_3"), checked);
}

void Buttoninterface::on_MidKey_clicked(bool checked)
{
    ChooseOption(QStringLiteral("MidKey"), checked);
}

void Buttoninterface::on_BackKey_2_clicked(bool checked)
{
    ChooseOption(QStringLiteral("BackKey_2"), checked);
}

void Buttoninterface::on_ForWardKey_clicked(bool checked)
{
    ChooseOption(QStringLiteral("ForWardKey"), checked);
}

void Buttoninterface::on_DPI_2_clicked(bool checked)
{
    ChooseOption(QStringLiteral("DPI_2"), checked);
}

void Buttoninterface::on_DPI_3_clicked(bool checked)
{
    ChooseOption(QStringLiteral("DPI_3"), checked);
}

void Buttoninterface::on_DPI_5_clicked(bool checked)
{
    ChooseOption(QStringLiteral("DPI_5"), checked);
}

void Buttoninterface::on_Player_clicked(bool checked)
{
    ChooseOption(QStringLiteral("Player"), checked);
}

void Buttoninterface::on_StartPause_2_clicked(bool checked)
{
    ChooseOption(QStringLiteral("StartPause_2"), checked);
}

void Buttoninterface::on_BackMusic_2_clicked(bool checked)
{
    ChooseOption(QStringLiteral("BackMusic_2"), checked);
}

void Buttoninterface::on_TopMusic_2_clicked(bool checked)
{
    ChooseOption(QStringLiteral("TopMusic_2"), checked);
}

void Buttoninterface::on_Mute_clicked(bool checked)
{
    ChooseOption(QStringLiteral("Mute"), checked);
}

void Buttoninterface::on_VolumeUp_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp"), checked);
}

void Buttoninterface::on_VolumeDown_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown"), checked);
}

void Buttoninterface::on_VolumeDown_4_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown_4"), checked);
}

void Buttoninterface::on_VolumeDown_5_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown_5"), checked);
}

void Buttoninterface::on_VolumeDown_6_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown_6"), checked);
}

void Buttoninterface::on_VolumeDown_3_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown_3"), checked);
}

void Buttoninterface::on_VolumeDown_8_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown_8"), checked);
}

void Buttoninterface::on_VolumeDown_9_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown_9"), checked);
}

void Buttoninterface::on_VolumeDown_7_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown_7"), checked);
}

void Buttoninterface::on_VolumeDown_10_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown_10"), checked);
}

void Buttoninterface::on_VolumeDown_12_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown_12"), checked);
}

void Buttoninterface::on_VolumeDown_13_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown_13"), checked);
}

void Buttoninterface::on_VolumeDown_11_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown_11"), checked);
}

void Buttoninterface::on_VolumeUp_2_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_2"), checked);
}

void Buttoninterface::on_VolumeDown_2_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown_2"), checked);
}

void Buttoninterface::on_VolumeUp_4_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_4"), checked);
}

void Buttoninterface::on_VolumeUp_5_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_5"), checked);
}

void Buttoninterface::on_VolumeUp_6_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_6"), checked);
}

void Buttoninterface::on_VolumeUp_7_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_7"), checked);
}

void Buttoninterface::on_VolumeUp_8_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_8"), checked);
}

void Buttoninterface::on_VolumeUp_9_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_9"), checked);
}

void Buttoninterface::on_VolumeUp_10_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_10"), checked);
}

void Buttoninterface::on_VolumeUp_14_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_14"), checked);
}

void Buttoninterface::on_VolumeDown_14_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeDown_14"), checked);
}

void Buttoninterface::on_VolumeUp_11_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_11"), checked);
}

void Buttoninterface::on_VolumeUp_12_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_12"), checked);
}

void Buttoninterface::on_VolumeUp_13_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_13"), checked);
}

void Buttoninterface::on_VolumeUp_16_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_16"), checked);
}

void Buttoninterface::on_VolumeUp_15_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_15"), checked);
}

void Buttoninterface::on_VolumeUp_19_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_19"), checked);
}

void Buttoninterface::on_VolumeUp_20_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_20"), checked);
}

void Buttoninterface::on_VolumeUp_22_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_22"), checked);
}

void Buttoninterface::on_VolumeUp_18_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_18"), checked);
}

void Buttoninterface::on_VolumeUp_24_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_24"), checked);
}

void Buttoninterface::on_VolumeUp_23_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_23"), checked);
}

void Buttoninterface::on_VolumeUp_21_clicked(bool checked)
{
    ChooseOption(QStringLiteral("VolumeUp_21"), checked);
}
