#pragma once
#include <QFrame>
#include <QString>

class QAbstractButton;
class QButtonGroup;

namespace Ui {
class OneLed;
}

// The receiver indicator meaning panel: which of three things the indicator light on the receiver
// conveys. The choice is byte 0 of the receiver indicator record (1, 2 or 3), which goes to the
// receiver whole. Exactly one of the three boxes is checked once a choice is known. A choice the
// receiver refuses puts the box and the record back and tells the user.
class OneLed : public QFrame
{
    Q_OBJECT
public:
    explicit OneLed(QWidget* parent = nullptr);
    ~OneLed() override;

    // Checks box 0, 1 or 2 without sending anything; any other index changes nothing.
    void SetMeaningQuiet(int index);
    // Checks box 0, 1 or 2 as a click would: a box not yet checked sends its meaning. The page
    // shows what the receiver reports with SetMeaningQuiet: the receiver holds it already.
    void SetMeaning(int index);
    // The box checked, 0..2; -1 while none is.
    int CheckedMeaning() const;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_ReUntil_toggled(bool checked);
    void on_ReUntil_2_toggled(bool checked);
    void on_ReUntil_3_toggled(bool checked);

private:
    QAbstractButton* Box(int index) const;
    // A choice is made once, by the box that became checked (the box that lost the check toggles too).
    void Chosen(int index, bool checked);
    // Checks box index (none for -1) with the group's signals held back.
    void CheckQuietly(int index);

    Ui::OneLed* ui;
    QString pictureFolder;
    QButtonGroup* group;
    int inForce = -1; // the box whose choice stands: sent, shown by the page, or left by a click
};
