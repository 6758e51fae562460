#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class MakeMacro;
}

// Asks the user to create a macro first: the button page's macro option has nothing to offer while
// the macro list is empty.
class MakeMacro : public QDialog
{
    Q_OBJECT
public:
    explicit MakeMacro(QWidget* parent = nullptr);
    ~MakeMacro() override;

private slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();

public slots:
    void SlotAllLanguage(int index);

private:
    Ui::MakeMacro* ui;
    QString pictureFolder;
};
