#include "pages/macro/Macro.h"

#include "device/PostMsg.h"
#include "pages/macro/ExeIsRun.h"

#include <QListWidget>
#include <QPushButton>

bool MacroRecording = false;

Macro::Macro(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Macro"));
    setFixedSize(883, 630);

    listWidgetHong = new QListWidget(this);
    listWidgetHong->setObjectName(QStringLiteral("listWidgetHong"));
    listWidgetHong->setGeometry(70, 87, 261, 421);
    StartRecord = new QPushButton(this);
    StartRecord->setObjectName(QStringLiteral("StartRecord"));
    StartRecord->setGeometry(637, 57, 190, 32);
    StartRecord->setFocusPolicy(Qt::NoFocus);
    StartRecord->setText(QStringLiteral("开始录制宏"));
    StopRecord = new QPushButton(this);
    StopRecord->setObjectName(QStringLiteral("StopRecord"));
    StopRecord->setGeometry(637, 57, 190, 32);
    StopRecord->setFocusPolicy(Qt::NoFocus);
    StopRecord->setText(QStringLiteral("停止录制宏"));
    StopRecord->hide();
    QMetaObject::connectSlotsByName(this);

    connect(PostMsg::Instance(), &PostMsg::SigSetMacroPage, this, &Macro::SlotSetMacroPage);
}

void Macro::ShowIdle()
{
    StopRecord->hide();
    StartRecord->show();
    listWidgetHong->setEnabled(true);
    MacroRecording = false;
}

void Macro::on_StartRecord_clicked()
{
    if (listWidgetHong->currentRow() < 0) {
        ExeIsRun notice(nullptr);
        notice.ShowSelectMacroFirst();
        const QPoint page = mapToGlobal(QPoint(0, 0));
        notice.move(page.x() + (width() - notice.width()) / 2 - 100, page.y() + (height() - notice.height()) / 2 - 50);
        notice.exec();
        return;
    }
    emit PostMsg::Instance()->SigStartRecord(0);
    StartRecord->hide();
    StopRecord->show();
    MacroRecording = true;
    listWidgetHong->setEnabled(false);
}

void Macro::on_StopRecord_clicked()
{
    emit PostMsg::Instance()->SigStartRecord(1);
    ShowIdle();
}

void Macro::SlotSetMacroPage()
{
    emit PostMsg::Instance()->SigStartRecord(1);
    ShowIdle();
}
