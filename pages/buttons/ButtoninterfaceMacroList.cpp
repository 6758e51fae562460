// The macro list of the button page's macro sub-page, one checkable button per macro file.
#include "pages/buttons/Buttoninterface.h"

#include "device/MacroBlocks.h"
#include "platform/ScreenInfo.h"
#include "ui_Buttoninterface.h"

#include <QButtonGroup>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A list shorter than this is filled up with hidden placeholders, so that its buttons keep their
// place at the top of the sub-page.
constexpr int MacroListRows = 7;

} // namespace

void Buttoninterface::BuildMacroList(bool rebuild)
{
    if (!MacroListWidget) {
        // The list takes the size of its buttons, so that the sub-page scrolls to every macro. The
        // layout belongs to the list alone: the page already has its own.
        MacroListLayout = new QVBoxLayout;
        MacroListLayout->setSizeConstraint(QLayout::SetFixedSize);
        MacroListWidget = new QWidget(this);
        MacroListWidget->setStyleSheet(QStringLiteral("background-color:transparent;border:none;"));
        MacroListWidget->setLayout(MacroListLayout);
        ui->scrollArea_7->setWidget(MacroListWidget);
    }
    qDeleteAll(MacroButtons);
    MacroButtons.clear();

    QFont font(QStringLiteral("微软雅黑"), 9);
    // The page's first build runs before the window scales every font once; a rebuild comes later.
    if (rebuild)
        font.setPointSizeF(font.pointSizeF() / (ScreenInfo::LogicalDpi() / 96.0));
    const QString style = MacroButtonStyle();
    const QStringList entries = MacroBlocks::MacroListEntries();
    for (const QString& entry : entries) {
        if (rebuild && entry.contains(QLatin1String("xml")))
            continue;
        auto* button = new QToolButton(MacroListWidget);
        button->setText(MacroBlocks::MacroNameOfFile(entry));
        button->setStyleSheet(style);
        button->setFont(font);
        button->setMinimumSize(174, 22);
        button->setCheckable(true);
        MacroListLayout->addWidget(button);
        OptionGroup->addButton(button);
        MacroButtons << button;
        connect(button, &QToolButton::clicked, this, &Buttoninterface::slotButtonClicked);
    }
    if (!entries.isEmpty() && entries.size() < MacroListRows) {
        for (int i = entries.size(); i < MacroListRows; ++i) {
            auto* placeholder = new QToolButton(MacroListWidget);
            placeholder->setStyleSheet(style);
            placeholder->setFont(font);
            placeholder->setEnabled(false);
            placeholder->setMinimumSize(174, 23);
            placeholder->setCheckable(true);
            placeholder->setVisible(false);
            MacroListLayout->addWidget(placeholder);
            MacroButtons << placeholder;
        }
    }
}

void Buttoninterface::SlotAddMacroButton()
{
    BuildMacroList(true);
}
