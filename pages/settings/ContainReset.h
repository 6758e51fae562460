#pragma once
#include <QDialog>

// Confirmation before restoring the factory settings.
class ContainReset : public QDialog
{
    Q_OBJECT
public:
    explicit ContainReset(QWidget* parent = nullptr);
    void SetText(const QString& text);
    bool Confirmed = false;
};
