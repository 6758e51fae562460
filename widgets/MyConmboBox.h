#pragma once
#include <QComboBox>

// A combo box that draws its current entry centred like a button label. Pages give it its
// colours and arrow through their style sheets.
class MyConmboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit MyConmboBox(QWidget* parent = nullptr);

    // The entry that was current at the last press on the box, before its list opened
    // (0 until the first press); a page that refuses a choice puts this one back.
    int PressedIndex() const { return pressedIndex; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int pressedIndex = 0;
};
