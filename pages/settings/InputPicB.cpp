#include "pages/settings/InputPicB.h"

#include "device/PostMsg.h"
#include "pages/settings/ScreenPictureLook.h"
#include "ui_InputPicB.h"

#include <QButtonGroup>

InputPicB::InputPicB(QWidget* parent) : QDialog(parent), ui(new Ui::InputPicB), pictureSlots(new QButtonGroup(this))
{
    ui->setupUi(this);
    pictureFolder = StyleScreenPictureDialog(this, pictureSlots);
}

InputPicB::~InputPicB()
{
    delete ui;
}

void InputPicB::SlotAllLanguage(int index)
{
    Q_UNUSED(index)
}

void InputPicB::on_CloseButton_clicked()
{
    emit PostMsg::Instance()->SigButtonCheck();
    close();
}
