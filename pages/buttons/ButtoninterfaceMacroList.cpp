// The macro list of the button page's macro sub-page, one checkable button per macro file.
#include "pages/buttons/Buttoninterface.h"

#include "device/MacroBlocks.h"
#include "device/MacroFolderListing.h"
#include "pages/macro/SameMacro.h"
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
        MacroListWidget->setObjectName(QStringLiteral("MacroList"));
        MacroListWidget->setLayout(MacroListLayout);
        ui->scrollArea_7->setWidget(MacroListWidget);
    }
    // The folder is read again only when it changed; the page shows the list at every visit.
    const QStringList entries = MacroFolderListing::Entries();
    QStringList names;
    for (const QString& entry : entries) {
        if (!rebuild || !entry.contains(QLatin1String("xml")))
            names << MacroBlocks::MacroNameOfFile(entry);
    }
    const int placeholders =
        !entries.isEmpty() && entries.size() < MacroListRows ? MacroListRows - int(entries.size()) : 0;
    if (rebuild && MacroButtons.size() == names.size() + placeholders) {
        bool same = true;
        for (int i = 0; i < names.size() && same; ++i)
            same = MacroButtons.at(i)->isEnabled() && MacroButtons.at(i)->text() == names.at(i);
        // The buttons shown are those a rebuild would make, in their place and their look.
        if (same)
            return;
    }
    qDeleteAll(MacroButtons);
    MacroButtons.clear();

    QFont font(QStringLiteral("微软雅黑"), 9);
    // The page's first build runs before the window scales every font once; a rebuild comes later.
    if (rebuild)
        font.setPointSizeF(font.pointSizeF() / (ScreenInfo::LogicalDpi() / 96.0));
    // One style for the list and every button on it: a style of each button's own would be read
    // again for each of the thousands a large macro folder makes.
    MacroListWidget->setStyleSheet(QStringLiteral("QWidget#MacroList{background-color:transparent;border:none;}")
                                   + MacroButtonStyle());
    // The ids the group would give, each one below the lowest: given here, so that the group need
    // not search its thousands of buttons for the lowest at every one.
    int id = -1;
    for (QAbstractButton* option : OptionGroup->buttons())
        id = qMin(id, OptionGroup->id(option));
    for (const QString& name : names) {
        auto* button = new QToolButton(MacroListWidget);
        button->setText(name);
        button->setFont(font);
        button->setMinimumSize(174, 22);
        button->setCheckable(true);
        MacroListLayout->addWidget(button);
        OptionGroup->addButton(button, --id);
        MacroButtons << button;
        connect(button, &QToolButton::clicked, this, &Buttoninterface::slotButtonClicked);
    }
    for (int i = 0; i < placeholders; ++i) {
        auto* placeholder = new QToolButton(MacroListWidget);
        placeholder->setFont(font);
        placeholder->setEnabled(false);
        placeholder->setMinimumSize(174, 23);
        placeholder->setCheckable(true);
        placeholder->setVisible(false);
        MacroListLayout->addWidget(placeholder);
        MacroButtons << placeholder;
    }
}

void Buttoninterface::SlotAddMacroButton()
{
    BuildMacroList(true);
}

void Buttoninterface::TellMacroRefused(MacroBlocks::FileFault fault)
{
    // The file of a listed name may be missing ("a.ini.ini" is listed as "a", a name not in the
    // system's encoding names no file), too large, or unreadable.
    if (fault == MacroBlocks::FileFault::None)
        return;
    SameMacro notice(nullptr);
    notice.SetMessageKey(SameMacro::FileFaultKey(fault));
    PlaceNotice(&notice);
    notice.exec();
}
