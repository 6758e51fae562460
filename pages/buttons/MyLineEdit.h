#pragma once
#include <QLineEdit>

// The key-combination field: it takes no keyboard input of its own (no typing, no editing keys, no
// shortcuts), and key events that reach it go no further. Its text changes only through the dialog
// that fills it from the keyboard hook, and through edits made with the mouse (the context menu).
class MyLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit MyLineEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};
