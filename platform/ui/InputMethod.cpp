// Desktop input methods and dead keys. Whatever an input method commits
// reaches the focused window as WM_CHAR, one message per UTF-16 unit, through
// pre-translation like a typed key; the composition in progress is only
// shown at the caret of the focused edit control.
#include "platform/ui/WindowImpl.h"
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>

namespace ce::impl {

namespace {

struct DeadKey {
    int key;             // Qt::Key_Dead_*
    char16_t combining;  // the mark it puts on the next letter
    char16_t spacing;    // what it types alone (before a space)
};

constexpr DeadKey DeadKeys[] = {
    {Qt::Key_Dead_Grave, 0x0300, u'`'},      {Qt::Key_Dead_Acute, 0x0301, 0x00B4},
    {Qt::Key_Dead_Circumflex, 0x0302, u'^'}, {Qt::Key_Dead_Tilde, 0x0303, u'~'},
    {Qt::Key_Dead_Diaeresis, 0x0308, 0x00A8}, {Qt::Key_Dead_Abovering, 0x030A, 0x02DA},
    {Qt::Key_Dead_Caron, 0x030C, 0x02C7},    {Qt::Key_Dead_Cedilla, 0x0327, 0x00B8},
};

const DeadKey* g_pendingDeadKey = nullptr;

int PreeditCursor(const QInputMethodEvent& event)
{
    for (const QInputMethodEvent::Attribute& a : event.attributes())
        if (a.type == QInputMethodEvent::Cursor)
            return a.start;
    return int(event.preeditString().size());
}

// The commit is typed first, then the new composition is shown.
void Receive(const QInputMethodEvent& event)
{
    const QString commit = event.commitString();
    if (!commit.isEmpty())
        SetComposition(KeyTarget(), QString(), 0);
    for (QChar unit : commit)
        TypeCharacter(unit.unicode());
    SetComposition(KeyTarget(), event.preeditString(), PreeditCursor(event));
    QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

// The widget answers first; where the input method may type and where the
// caret is are the focused window's, whichever widget holds Qt's focus.
void Answer(QObject* watched, QInputMethodQueryEvent& query)
{
    watched->event(&query);
    HWND target = KeyTarget();
    if (query.queries() & Qt::ImEnabled)
        query.setValue(Qt::ImEnabled, target && AcceptsComposition(target));
    if (query.queries() & Qt::ImCursorRectangle) {
        QRect caret = target ? CaretRectOnScreen(target) : QRect();
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && caret.isValid())
            query.setValue(Qt::ImCursorRectangle, QRectF(caret.translated(widget->mapFrom(ScreenWidget(), QPoint()))));
    }
}

} // namespace

void TypeCharacter(char16_t unit)
{
    if (HWND target = KeyTarget())
        DeliverKey(target, WM_CHAR, unit);
}

bool FilterInputMethod(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::InputMethod) {
        Receive(*static_cast<QInputMethodEvent*>(event));
        event->accept();
        return true;
    }
    if (event->type() == QEvent::InputMethodQuery) {
        Answer(watched, *static_cast<QInputMethodQueryEvent*>(event));
        return true;
    }
    return false;
}

bool RememberDeadKey(int key)
{
    for (const DeadKey& dead : DeadKeys) {
        if (dead.key == key) {
            g_pendingDeadKey = &dead;
            return true;
        }
    }
    return false;
}

std::u16string ApplyDeadKey(char16_t ch)
{
    const DeadKey* dead = g_pendingDeadKey;
    if (!ch)
        return std::u16string(); // Shift and the like keep the accent waiting
    g_pendingDeadKey = nullptr;
    if (!dead)
        return std::u16string(1, ch);
    if (ch == u' ')
        return std::u16string(1, dead->spacing);
    const QString composed = (QString(QChar(ch)) + QChar(dead->combining)).normalized(QString::NormalizationForm_C);
    if (composed.size() == 1)
        return std::u16string(1, composed.at(0).unicode());
    return std::u16string{dead->spacing, ch}; // a letter without that accent
}

int DeadKeyOf(char16_t combining)
{
    for (const DeadKey& dead : DeadKeys)
        if (dead.combining == combining)
            return dead.key;
    return 0;
}

} // namespace ce::impl
