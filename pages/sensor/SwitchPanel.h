#pragma once
#include <QFrame>
#include <QString>
#include <cstdint>

class QLabel;
class QToolButton;

// What the ripple, angle-snapping and motion-sync panels share: an on/off picture toggle that
// writes one record byte, a caption and a tips icon. Each panel builds its own form and hands its
// widgets to Attach; the toggle's checked state is the device state, no copy is kept.
//
// The second design of these panels has no tips icon (the caption carries the tool tip), takes its
// texts from its host, writes whatever a page is doing and keeps the user's state when the device
// refuses: it only writes, it never follows the device.
class SwitchPanel : public QFrame
{
    Q_OBJECT
public:
    // The device setter of the panel's byte: 1 on, 0 off; false when the device refused.
    using Setter = bool (*)(uint8_t on);

    // Sets the toggle without writing anything.
    void SetChecked(bool on);
    bool IsChecked() const;
    void SetText(const QString& text);
    void SetToolTip(const QString& text);
    // Places the tips icon after the caption for a language index 0..7; other indexes leave it.
    void MoveTips(int languageIndex);

public slots:
    // Caption, tooltip and tips place from the language tables.
    void SlotAllLanguage(int language);

protected:
    struct Design
    {
        Setter setter;
        const char* textKey; // language keys of caption and tips; none in the second design
        const char* tipsKey;
    };
    SwitchPanel(const Design& design, QWidget* parent);

    // Styles the widgets of the panel's form and shows the current language. Without a tips icon the
    // panel is of the second design.
    void Attach(QToolButton* toggle, QLabel* caption, QLabel* tips);
    // A user click: writes the new state, and (first design) flips the toggle back when the device
    // refuses.
    void Clicked(bool checked);

private:
    void PlaceTips();

    const Design design;
    QString pictureFolder;
    QToolButton* toggle = nullptr;
    QLabel* caption = nullptr;
    QLabel* tips = nullptr;
};
