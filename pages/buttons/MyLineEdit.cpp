#include "pages/buttons/MyLineEdit.h"

MyLineEdit::MyLineEdit(QWidget* parent) : QLineEdit(parent) {}

// Left accepted, so the event ends here: neither the field nor the dialog acts on the key.
void MyLineEdit::keyPressEvent(QKeyEvent*) {}

void MyLineEdit::keyReleaseEvent(QKeyEvent*) {}
