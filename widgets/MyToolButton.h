#pragma once
#include <QToolButton>

// A menu entry that answers on the press of the left button rather than on its release: a press
// checks it and emits clicked(false) at once, a double click checks it and emits clicked(true).
// The button page uses it for the two entries that open a dialog (fire key, key combination), so
// that one handler opens the dialog and the other assigns straight away. Other buttons do nothing.
class MyToolButton : public QToolButton
{
    Q_OBJECT
public:
    explicit MyToolButton(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
