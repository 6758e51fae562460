#pragma once
#include <QToolButton>

// A device button of the selection page, named "btn" + its index into ListedDevices. Moving the
// pointer onto it asks the page to query that device again (Entered).
class mytoolButtonEnter : public QToolButton
{
    Q_OBJECT
public:
    explicit mytoolButtonEnter(QWidget* parent = nullptr);

    // The index in the object name, -1 when the name is not "btn" + a number.
    int DeviceIndex() const;

signals:
    void Entered(int index);

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
};
