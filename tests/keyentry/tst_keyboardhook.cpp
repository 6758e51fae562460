#include "device/KeyNames.h"
#include "pages/buttons/MyLineEdit.h"
#include "platform/KeyEventFilter.h"
#include "platform/VirtualKeys.h"
#include "widgets/KeyboardHook.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSet>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

// The keyboard hook: its state machine per instance, the three instances, and the key event filter
// that feeds it from the program's own windows, with its table of virtual-key codes.
class TestKeyboardHook : public QObject
{
    Q_OBJECT

    // Events and reports written as words: "A+" a key down, "A-" up, "A^" system down, "Av" system
    // up; "A:d" reported down, "A:u" up, an "r" after it a repeat. Keys are letters or F10 or Alt.
    static int CodeOf(const QString& name)
    {
        if (name == QLatin1String("F10"))
            return 0x79;
        if (name == QLatin1String("Alt"))
            return 0xA4;
        return name.at(0).unicode();
    }
    static QString NameOf(int code)
    {
        if (code == 0x79)
            return QStringLiteral("F10");
        if (code == 0xA4)
            return QStringLiteral("Alt");
        return QString(QChar(code));
    }
    static int MessageOf(QChar mark)
    {
        switch (mark.unicode()) {
        case '+': return VirtualKeys::KeyDown;
        case '-': return VirtualKeys::KeyUp;
        case '^': return VirtualKeys::SysKeyDown;
        default: return VirtualKeys::SysKeyUp;
        }
    }
    static QString Word(int code, bool down, bool repeat)
    {
        return NameOf(code) + QLatin1Char(':') + (down ? QLatin1Char('d') : QLatin1Char('u'))
            + (repeat ? QStringLiteral("r") : QString());
    }
    static void FeedWords(const QString& events, const std::function<void(int, int)>& feed)
    {
        for (const QString& event : events.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            feed(CodeOf(event.chopped(1)), MessageOf(event.back()));
    }

    // A window with a focused key-combination field, active, as the dialogs have it.
    struct FocusedField {
        QWidget window;
        MyLineEdit* field = nullptr;
        QWidget* plain = nullptr;
        QWidget* plainParent = nullptr;
        FocusedField()
        {
            auto* layout = new QVBoxLayout(&window);
            field = new MyLineEdit(&window);
            plainParent = new QWidget(&window);
            plain = new QWidget(plainParent);
            plain->setFocusPolicy(Qt::StrongFocus);
            layout->addWidget(field);
            layout->addWidget(plainParent);
            window.show();
            window.activateWindow();
            field->setFocus();
        }
    };

    // Reports of the key-combination instance, as words.
    QStringList reports;
    void Listen(KeyboardHook& hook)
    {
        hook.SetCallback([this](int code, bool down, bool repeat) { reports << Word(code, down, repeat); });
        hook.InstallKeyboardHook();
    }

    static void Send(QObject* receiver, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     quint32 scanCode = 0, bool autoRepeat = false)
    {
        QKeyEvent event(type, key, modifiers, scanCode, 0, 0, QString(), autoRepeat);
        QApplication::sendEvent(receiver, &event);
    }

    struct KeyRow {
        QString name;
        int key;
        int modifiers;
        int scanCode;
        int code;
    };
    static QVector<KeyRow> KeyRows()
    {
        const int keypad = Qt::KeypadModifier;
        QVector<KeyRow> rows;
        for (int i = 0; i < 10; ++i) {
            rows.append({QStringLiteral("digit %1").arg(i), Qt::Key_0 + i, 0, 0, 0x30 + i});
            rows.append({QStringLiteral("keypad %1").arg(i), Qt::Key_0 + i, keypad, 0, 0x60 + i});
        }
        for (int i = 0; i < 26; ++i)
            rows.append({QStringLiteral("letter %1").arg(QChar('A' + i)), Qt::Key_A + i, 0, 0, 0x41 + i});
        for (int i = 0; i < 12; ++i)
            rows.append({QStringLiteral("F%1").arg(i + 1), Qt::Key_F1 + i, 0, 0, 0x70 + i});
        const struct {
            const char* name;
            int key;
            int modifiers;
            int scanCode;
            int code;
        } single[] = {
            {"Tab", Qt::Key_Tab, 0, 0, 0x09}, {"Esc", Qt::Key_Escape, 0, 0, 0x1B},
            {"BackSpace", Qt::Key_Backspace, 0, 0, 0x08}, {"CapsLock", Qt::Key_CapsLock, 0, 0, 0x14},
            {"Insert", Qt::Key_Insert, 0, 0, 0x2D}, {"Del", Qt::Key_Delete, 0, 0, 0x2E},
            {"Home", Qt::Key_Home, 0, 0, 0x24}, {"End", Qt::Key_End, 0, 0, 0x23},
            {"PgUp", Qt::Key_PageUp, 0, 0, 0x21}, {"PgDn", Qt::Key_PageDown, 0, 0, 0x22},
            {"Scroll", Qt::Key_ScrollLock, 0, 0, 0x91}, {"Pause", Qt::Key_Pause, 0, 0, 0x13},
            {"Screen", Qt::Key_Print, 0, 0, 0x2C}, {"left", Qt::Key_Left, 0, 0, 0x25},
            {"right", Qt::Key_Right, 0, 0, 0x27}, {"up", Qt::Key_Up, 0, 0, 0x26}, {"down", Qt::Key_Down, 0, 0, 0x28},
            {"grave", Qt::Key_QuoteLeft, 0, 0, 0xC0}, {"minus", Qt::Key_Minus, 0, 0, 0xBD},
            {"equal", Qt::Key_Equal, 0, 0, 0xBB}, {"APPs", Qt::Key_Menu, 0, 0, 0x5D}, {"Space", Qt::Key_Space, 0, 0, 0x20},
            {"[", Qt::Key_BracketLeft, 0, 0, 0xDB}, {"]", Qt::Key_BracketRight, 0, 0, 0xDD},
            {"backslash", Qt::Key_Backslash, 0, 0, 0xDC}, {"Enter", Qt::Key_Return, 0, 0, 0x0D},
            {"keypad Enter", Qt::Key_Enter, keypad, 0, 0x0D}, {";", Qt::Key_Semicolon, 0, 0, 0xBA},
            {"'", Qt::Key_Apostrophe, 0, 0, 0xDE}, {",", Qt::Key_Comma, 0, 0, 0xBC}, {".", Qt::Key_Period, 0, 0, 0xBE},
            {"/", Qt::Key_Slash, 0, 0, 0xBF}, {"Num/", Qt::Key_Slash, keypad, 0, 0x6F},
            {"Num*", Qt::Key_Asterisk, keypad, 0, 0x6A}, {"Num-", Qt::Key_Minus, keypad, 0, 0x6D},
            {"Num+", Qt::Key_Plus, keypad, 0, 0x6B}, {"Num.", Qt::Key_Period, keypad, 0, 0x6E},
            {"Num. as a comma", Qt::Key_Comma, keypad, 0, 0x6E}, {"NumLock", Qt::Key_NumLock, 0, 0, 0x90},
            // The modifiers by side, from the scan code, and without one.
            {"LShift", Qt::Key_Shift, 0, 50, 0xA0}, {"RShift", Qt::Key_Shift, 0, 62, 0xA1},
            {"LCtrl", Qt::Key_Control, 0, 37, 0xA2}, {"RCtrl", Qt::Key_Control, 0, 105, 0xA3},
            {"LAlt", Qt::Key_Alt, 0, 64, 0xA4}, {"RAlt", Qt::Key_Alt, 0, 108, 0xA5},
            {"AltGr", Qt::Key_AltGr, 0, 108, 0xA5}, {"LWin", Qt::Key_Super_L, 0, 133, 0x5B},
            {"RWin", Qt::Key_Super_R, 0, 134, 0x5C}, {"Shift without a scan code", Qt::Key_Shift, 0, 0, 0xA0},
            {"Ctrl without a scan code", Qt::Key_Control, 0, 0, 0xA2}, {"Alt without a scan code", Qt::Key_Alt, 0, 0, 0xA4},
            {"Meta without a scan code", Qt::Key_Meta, 0, 0, 0x5B},
            // The keypad with NumLock off: its navigation codes, Clear for 5.
            {"keypad 0, NumLock off", Qt::Key_Insert, keypad, 0, 0x2D}, {"keypad 1, NumLock off", Qt::Key_End, keypad, 0, 0x23},
            {"keypad 2, NumLock off", Qt::Key_Down, keypad, 0, 0x28}, {"keypad 3, NumLock off", Qt::Key_PageDown, keypad, 0, 0x22},
            {"keypad 4, NumLock off", Qt::Key_Left, keypad, 0, 0x25}, {"keypad 5, NumLock off", Qt::Key_Clear, keypad, 0, 0x0C},
            {"keypad 6, NumLock off", Qt::Key_Right, keypad, 0, 0x27}, {"keypad 7, NumLock off", Qt::Key_Home, keypad, 0, 0x24},
            {"keypad 8, NumLock off", Qt::Key_Up, keypad, 0, 0x26}, {"keypad 9, NumLock off", Qt::Key_PageUp, keypad, 0, 0x21},
            {"keypad ., NumLock off", Qt::Key_Delete, keypad, 0, 0x2E},
            // The key's place, not the character it types.
            {"Shift+1 by its scan code", Qt::Key_Exclam, Qt::ShiftModifier, 10, 0x31},
            {"Shift+1 without a scan code", Qt::Key_Exclam, Qt::ShiftModifier, 0, 0x31},
            {"Shift+0 without a scan code", Qt::Key_ParenRight, Qt::ShiftModifier, 0, 0x30},
            {"Shift+= without a scan code", Qt::Key_Plus, Qt::ShiftModifier, 0, 0xBB},
            {"Cyrillic EF by its scan code", 0x424, 0, 38, 0x41},
            {"Cyrillic EF without a scan code", 0x424, 0, 0, 0x41},
            {"Cyrillic IO without a scan code", 0x401, 0, 0, 0xC0},
            {"German Z on the key of Y", Qt::Key_Z, 0, 29, 0x59},
            {"keypad 1 keeps the keypad with a scan code", Qt::Key_1, keypad, 87, 0x61},
            {"a key without a code", Qt::Key_F30, 0, 0, 0},
        };
        for (const auto& s : single)
            rows.append({QString::fromLatin1(s.name), s.key, s.modifiers, s.scanCode, s.code});
        return rows;
    }

private slots:
    void cleanup()
    {
        for (KeyboardHook* hook : {&KeyboardHook::MacroRecorder(), &KeyboardHook::MacroStepEntry(),
                                   &KeyboardHook::KeyCombination()}) {
            hook->RemoveKeyboardHook();
            hook->SetCallback(nullptr);
            hook->Step(0, VirtualKeys::KeyUp); // no key held over into the next case
        }
        reports.clear();
    }

    // --- the state machine ---

    void stateMachine_data()
    {
        QTest::addColumn<bool>("trackSystemKeys");
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("expected");
        QTest::newRow("holding A, then again") << false << "A+ A+ A+ A- A+" << "A:d A:dr A:dr A:u A:d";
        QTest::newRow("A then B") << false << "A+ B+ B+" << "A:d B:d B:dr";
        QTest::newRow("A released while B is held") << false << "A+ B+ A- B+ B+" << "A:d B:d A:u B:d B:dr";
        QTest::newRow("system key after a release, not tracked") << false << "A+ A- F10^ F10v" << "A:d A:u F10:u F10:ur";
        QTest::newRow("system key after a down, not tracked") << false << "A+ Alt^ Altv" << "A:d Alt:d Alt:dr";
        QTest::newRow("system keys tracked") << true << "A+ A- F10^ F10v" << "A:d A:u F10:d F10:ur";
        QTest::newRow("Alt with a key, tracked") << true << "Alt^ B^ Bv Alt-" << "Alt:d B:d B:ur Alt:u";
        QTest::newRow("a system up keeps the last key") << true << "B^ Bv B^" << "B:d B:ur B:dr";
    }
    void stateMachine()
    {
        QFETCH(bool, trackSystemKeys);
        QFETCH(QString, events);
        QFETCH(QString, expected);
        KeyboardHook hook(trackSystemKeys);
        QStringList seen;
        FeedWords(events, [&](int code, int message) {
            const KeyboardHook::Report report = hook.Step(code, message);
            seen << Word(report.keyCode, report.down, report.repeat);
        });
        QCOMPARE(seen.join(QLatin1Char(' ')), expected);
    }

    void threeInstances()
    {
        QVERIFY(KeyboardHook::MacroRecorder().TrackSystemKeys);
        QVERIFY(!KeyboardHook::MacroStepEntry().TrackSystemKeys);
        QVERIFY(!KeyboardHook::KeyCombination().TrackSystemKeys);
        QVERIFY(&KeyboardHook::MacroStepEntry() != &KeyboardHook::KeyCombination());
        QCOMPARE(&KeyboardHook::KeyCombination(), &KeyboardHook::KeyCombination());
    }

    void twoInstalledAtOnce()
    {
        QStringList log;
        KeyboardHook& recorder = KeyboardHook::MacroRecorder();
        KeyboardHook& combination = KeyboardHook::KeyCombination();
        recorder.InstallKeyboardHook();
        recorder.SetCallback([&](int code, bool down, bool repeat) { log << "rec " + Word(code, down, repeat); });
        combination.InstallKeyboardHook();
        combination.SetCallback([&](int code, bool down, bool repeat) { log << "combo " + Word(code, down, repeat); });
        FeedWords("A+ A- F10^", &KeyboardHook::Feed);
        QCOMPARE(log, QStringList({"rec A:d", "combo A:d", "rec A:u", "combo A:u", "rec F10:d", "combo F10:u"}));
        // Each keeps its own flags: after one is removed the other goes on alone.
        recorder.RemoveKeyboardHook();
        log.clear();
        FeedWords("F10v", &KeyboardHook::Feed);
        QCOMPARE(log, QStringList({"combo F10:ur"}));
    }

    void removalAndCallback()
    {
        KeyboardHook& hook = KeyboardHook::KeyCombination();
        // Removing before installing, and twice, does nothing.
        hook.RemoveKeyboardHook();
        QVERIFY(!hook.IsInstalled());
        Listen(hook);
        QVERIFY(hook.IsInstalled());
        QVERIFY(KeyEventFilter::Running());
        hook.RemoveKeyboardHook();
        hook.RemoveKeyboardHook();
        QVERIFY(!hook.IsInstalled());
        QVERIFY(!KeyEventFilter::Running());
        // Nothing reaches a removed hook, and its callback stays for the next installation, as do
        // its flags: a key never released comes back as a repeat.
        FeedWords("A+", &KeyboardHook::Feed);
        QVERIFY(reports.isEmpty());
        QVERIFY(hook.HasCallback());
        hook.InstallKeyboardHook();
        FeedWords("B+", &KeyboardHook::Feed);
        hook.RemoveKeyboardHook();
        hook.InstallKeyboardHook();
        FeedWords("B+", &KeyboardHook::Feed);
        QCOMPARE(reports, QStringList({"B:d", "B:dr"}));
    }

    void callbackRemovesItsHook()
    {
        KeyboardHook& recorder = KeyboardHook::MacroRecorder();
        KeyboardHook& combination = KeyboardHook::KeyCombination();
        recorder.InstallKeyboardHook();
        recorder.SetCallback([&](int, bool, bool) {
            recorder.RemoveKeyboardHook();
            combination.RemoveKeyboardHook();
        });
        Listen(combination);
        FeedWords("A+", &KeyboardHook::Feed);
        QVERIFY(reports.isEmpty());
        QVERIFY(!KeyEventFilter::Running());
    }

    // --- the key event filter ---

    void filterReportsEachEventOnce_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("code");
        QTest::newRow("A into the field") << "field" << int(Qt::Key_A) << 0x41;
        QTest::newRow("Escape into the field") << "field" << int(Qt::Key_Escape) << 0x1B;
        QTest::newRow("F12 into the field") << "field" << int(Qt::Key_F12) << 0x7B;
        QTest::newRow("A that no widget accepts") << "plain" << int(Qt::Key_A) << 0x41;
        QTest::newRow("A through the window to the field") << "window" << int(Qt::Key_A) << 0x41;
        QTest::newRow("Escape through the window, accepted by none") << "window-plain" << int(Qt::Key_Escape) << 0x1B;
    }
    void filterReportsEachEventOnce()
    {
        QFETCH(QString, target);
        QFETCH(int, key);
        QFETCH(int, code);
        FocusedField field;
        QVERIFY(QTest::qWaitForWindowActive(&field.window));
        Listen(KeyboardHook::KeyCombination());
        if (target.endsWith(QLatin1String("plain")))
            field.plain->setFocus();
        const QString name = NameOf(code);
        const QStringList expected = {Word(code, true, false), Word(code, false, false)};
        if (target.startsWith(QLatin1String("window"))) {
            QTest::keyClick(field.window.windowHandle(), Qt::Key(key));
        } else {
            QWidget* receiver = target == QLatin1String("field") ? static_cast<QWidget*>(field.field) : field.plain;
            QTest::keyClick(receiver, Qt::Key(key));
        }
        QCOMPARE(reports, expected);
        // A second identical click is a new event, whatever address it has.
        QTest::keyClick(field.field, Qt::Key(key));
        QCOMPARE(reports.size(), 4);
        QVERIFY(field.field->text().isEmpty());
    }

    void autoRepeatGivesRepeatedDowns()
    {
        FocusedField field;
        QVERIFY(QTest::qWaitForWindowActive(&field.window));
        Listen(KeyboardHook::KeyCombination());
        Send(field.field, QEvent::KeyPress, Qt::Key_A);
        for (int i = 0; i < 2; ++i) {
            Send(field.field, QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, 0, true);
            Send(field.field, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, true);
        }
        Send(field.field, QEvent::KeyRelease, Qt::Key_A);
        QCOMPARE(reports, QStringList({"A:d", "A:dr", "A:dr", "A:u"}));
    }

    void inactiveProgramReportsNothing()
    {
        Listen(KeyboardHook::KeyCombination());
        MyLineEdit field;
        QVERIFY(!QGuiApplication::focusWindow());
        QTest::keyClick(&field, Qt::Key_A);
        QVERIFY(reports.isEmpty());
    }

    void systemMessagesReachTheHook()
    {
        // The recorder tracks system keys: Alt, a key while Alt is held and F10 come as downs and
        // ups; the combination instance reads them with the down flag it had.
        FocusedField field;
        QVERIFY(QTest::qWaitForWindowActive(&field.window));
        QStringList recorded;
        KeyboardHook::MacroRecorder().InstallKeyboardHook();
        KeyboardHook::MacroRecorder().SetCallback(
            [&](int code, bool down, bool repeat) { recorded << Word(code, down, repeat); });
        Listen(KeyboardHook::KeyCombination());
        Send(field.field, QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier, 64);
        Send(field.field, QEvent::KeyPress, Qt::Key_B, Qt::AltModifier);
        Send(field.field, QEvent::KeyRelease, Qt::Key_B, Qt::AltModifier);
        Send(field.field, QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier, 64);
        Send(field.field, QEvent::KeyPress, Qt::Key_F10);
        QCOMPARE(recorded, QStringList({"Alt:d", "B:d", "B:ur", "Alt:u", "F10:d"}));
        QCOMPARE(reports, QStringList({"Alt:u", "B:u", "B:ur", "Alt:u", "F10:u"}));
    }

    void messages_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("press");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("message");
        QTest::newRow("A down") << 0x41 << true << 0 << int(VirtualKeys::KeyDown);
        QTest::newRow("A up") << 0x41 << false << 0 << int(VirtualKeys::KeyUp);
        QTest::newRow("Alt down") << 0xA4 << true << 0 << int(VirtualKeys::SysKeyDown);
        QTest::newRow("right Alt down") << 0xA5 << true << 0 << int(VirtualKeys::SysKeyDown);
        QTest::newRow("Alt up") << 0xA4 << false << int(Qt::AltModifier) << int(VirtualKeys::KeyUp);
        QTest::newRow("A down with Alt") << 0x41 << true << int(Qt::AltModifier) << int(VirtualKeys::SysKeyDown);
        QTest::newRow("A up with Alt") << 0x41 << false << int(Qt::AltModifier) << int(VirtualKeys::SysKeyUp);
        QTest::newRow("F10 down") << 0x79 << true << 0 << int(VirtualKeys::SysKeyDown);
        QTest::newRow("F10 up") << 0x79 << false << 0 << int(VirtualKeys::SysKeyUp);
        QTest::newRow("A down with Ctrl and Alt") << 0x41 << true << int(Qt::AltModifier | Qt::ControlModifier)
                                                 << int(VirtualKeys::KeyDown);
        QTest::newRow("Alt down with Ctrl") << 0xA4 << true << int(Qt::ControlModifier) << int(VirtualKeys::KeyDown);
        QTest::newRow("Ctrl down with Alt") << 0xA2 << true << int(Qt::AltModifier) << int(VirtualKeys::SysKeyDown);
    }
    void messages()
    {
        QFETCH(int, code);
        QFETCH(bool, press);
        QFETCH(int, modifiers);
        QFETCH(int, message);
        QCOMPARE(VirtualKeys::MessageOf(code, press, Qt::KeyboardModifiers(modifiers)), message);
    }

    // --- the table of virtual-key codes ---

    void keyTable_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("scanCode");
        QTest::addColumn<int>("code");
        for (const KeyRow& row : KeyRows())
            QTest::newRow(qPrintable(row.name)) << row.key << row.modifiers << row.scanCode << row.code;
    }
    void keyTable()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, scanCode);
        QFETCH(int, code);
        QCOMPARE(VirtualKeys::FromKey(key, Qt::KeyboardModifiers(modifiers), quint32(scanCode)), code);

        // The same key typed into the field reaches the hook with that code, or not at all.
        FocusedField field;
        QVERIFY(QTest::qWaitForWindowActive(&field.window));
        QStringList codes;
        // Alt and F10 come as system keys, which this instance reads with the down flag it had.
        KeyboardHook::KeyCombination().SetCallback(
            [&](int reported, bool, bool) { codes << QString::number(reported, 16); });
        KeyboardHook::KeyCombination().InstallKeyboardHook();
        Send(field.field, QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), quint32(scanCode));
        QCOMPARE(codes, code ? QStringList{QString::number(code, 16)} : QStringList{});
    }

    void keyTableCoversTheRecordersCodes()
    {
        // Every code of the recorder's 104 keys, and so of the key-combination names, is one the
        // table above gives.
        QSet<int> given;
        for (const KeyRow& row : KeyRows())
            given.insert(row.code);
        QStringList missing;
        for (const KeyNames::KeyEntry& entry : KeyNames::KeyboardTable()) {
            if (!given.contains(entry.virtualKey))
                missing << QString::number(entry.virtualKey, 16);
        }
        QCOMPARE(KeyNames::KeyboardTable().size(), size_t(104));
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char(' '))));
    }
};

QTEST_MAIN(TestKeyboardHook)
#include "tst_keyboardhook.moc"
