// The event list's items and the primitives that recording and editing build it with.
#include "pages/macro/Macro.h"

#include "device/KeyNames.h"
#include "ui_Macro.h"
#include "widgets/WaitProcessingEvents.h"

#include <QIcon>
#include <QListWidgetItem>

namespace {

const QString ShortDelay = QStringLiteral("10ms");

} // namespace

QListWidgetItem* Macro::NewKeyItem(const MacroFile::Line& line)
{
    const QString label = KeyNames::UsageToKeyName(line.usage, line.kind);
    auto* item = new QListWidgetItem(QIcon(pictureFolder + (line.release ? QStringLiteral("MacroUp.png")
                                                                          : QStringLiteral("MacroDown.png"))),
                                     label, nullptr, line.release ? 1 : 0);
    item->setData(KeyRole, true);
    item->setData(UsageRole, line.usage);
    item->setData(KindRole, line.kind);
    return item;
}

QListWidgetItem* Macro::NewDelayItem(const QString& text)
{
    return new QListWidgetItem(QIcon(pictureFolder + QStringLiteral("MacroTime.png")), text, nullptr, 0);
}

QListWidgetItem* Macro::NewDelayItem(double milliseconds)
{
    return NewDelayItem(QString::number(milliseconds, 'f', 0) + QStringLiteral("ms"));
}

bool Macro::IsDelayItem(const QListWidgetItem* item)
{
    return item && item->text().contains(QLatin1String("ms"));
}

MacroFile::Line Macro::KeyOfLabel(const QString& label, bool press)
{
    MacroFile::Line line;
    const QStringList key = KeyNames::KeyNameToUsage(label);
    if (key.size() == 2) {
        line.usage = key.at(0);
        line.kind = key.at(1).toInt();
    }
    line.release = !press;
    return line;
}

void Macro::AppendKeyEvent(const QString& label, bool press)
{
    const MacroFile::Line key = KeyOfLabel(label, press);
    if (!ui->listWidgetHong->currentItem() || key.usage.isEmpty())
        return;
    ui->listWidgetKey->addItem(NewKeyItem(key));
    ui->listWidgetKey->setCurrentRow(ui->listWidgetKey->count() - 1);
}

void Macro::AppendDelayEvent(double milliseconds)
{
    if (!ui->listWidgetHong->currentItem())
        return;
    ui->listWidgetKey->addItem(NewDelayItem(milliseconds));
    ui->listWidgetKey->setCurrentRow(ui->listWidgetKey->count() - 2);
}

void Macro::InsertKeyEvent(const QString& label, bool press)
{
    const MacroFile::Line key = KeyOfLabel(label, press);
    // A key the program cannot name is not added: its line could not be written.
    if (key.usage.isEmpty())
        return;
    QListWidget* list = ui->listWidgetKey;
    const int row = list->currentRow();
    if (row == 0) {
        list->insertItem(2, NewKeyItem(key));
        list->insertItem(3, NewDelayItem(ShortDelay));
    } else if (row < 0) {
        list->addItem(NewKeyItem(key));
        list->addItem(NewDelayItem(ShortDelay));
    } else if (row == list->count() - 1) {
        list->addItem(NewDelayItem(ShortDelay));
        list->addItem(NewKeyItem(key));
    } else if (IsDelayItem(list->item(row))) {
        list->insertItem(row + 1, NewKeyItem(key));
        list->insertItem(row + 2, NewDelayItem(ShortDelay));
    } else {
        list->insertItem(row + 2, NewKeyItem(key));
        list->insertItem(row + 3, NewDelayItem(ShortDelay));
    }
}

void Macro::InsertKeyStroke(const QString& label)
{
    const MacroFile::Line press = KeyOfLabel(label, true);
    if (press.usage.isEmpty())
        return;
    const MacroFile::Line release = KeyOfLabel(label, false);
    QListWidget* list = ui->listWidgetKey;
    const int row = list->currentRow();
    // The items in the order they stand, from the row the first one takes.
    const auto insertAt = [&](int first, const QVector<QListWidgetItem*>& items) {
        for (int i = 0; i < items.size(); ++i)
            list->insertItem(first + i, items.at(i));
    };
    if (row == 0) {
        insertAt(2, {NewKeyItem(press), NewDelayItem(ShortDelay), NewKeyItem(release), NewDelayItem(ShortDelay)});
    } else if (row < 0 && list->count() == 0) {
        insertAt(0, {NewKeyItem(press), NewDelayItem(ShortDelay), NewKeyItem(release)});
    } else if (row < 0 || row == list->count() - 1) {
        insertAt(list->count(), {NewDelayItem(ShortDelay), NewKeyItem(press), NewDelayItem(ShortDelay), NewKeyItem(release)});
    } else if (IsDelayItem(list->item(row))) {
        insertAt(row + 1, {NewKeyItem(press), NewDelayItem(ShortDelay), NewKeyItem(release), NewDelayItem(ShortDelay)});
    } else {
        insertAt(row + 1, {NewDelayItem(ShortDelay), NewKeyItem(press), NewDelayItem(ShortDelay), NewKeyItem(release)});
    }
}

void Macro::InsertDelayEvent(double milliseconds)
{
    QListWidget* list = ui->listWidgetKey;
    const int row = list->currentRow();
    if (row < 0) {
        list->addItem(NewDelayItem(milliseconds));
        return;
    }
    if (row == 0)
        return;
    int target = row; // the delay to replace, or the key to insert before
    bool replace = true;
    if (!IsDelayItem(list->item(row))) {
        if (IsDelayItem(list->item(row - 1)))
            target = row - 1;
        else
            replace = false;
    }
    if (replace)
        delete list->takeItem(target);
    list->insertItem(target, NewDelayItem(milliseconds));
    list->setCurrentRow(target);
}

QString Macro::MouseButtonName(int usage)
{
    for (int i = 0; i < 5; ++i) {
        if (KeyNames::MouseButtonBits[i] == usage)
            return KeyNames::MouseButtonNames[size_t(i)];
    }
    return QString();
}

void Macro::WaitWithEvents(int milliseconds)
{
    WaitProcessingEvents(milliseconds);
}
