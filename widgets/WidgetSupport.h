#pragma once

#include <QChar>
#include <QCursor>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QKeyEvent;

// The program's bitmap resources ("SpinUp", "Bar1Mask", ...). A null image
// means the name is unknown.
QImage LoadWidgetBitmap(const QString &name);
// The "HandPointer" cursor resource.
QCursor LoadHandPointerCursor();

// The default beep. Tests swap the hook to observe refusals.
using TBeepHook = void (*)();
void WidgetBeep();
TBeepHook SetBeepHook(TBeepHook hook); // nullptr restores the default; returns the old hook

// Widget errors raised from event handlers cannot travel through the event
// loop; they end here. The default shows a message box.
using TWidgetErrorHook = void (*)(const QString &message);
void ReportWidgetError(const QString &message);
TWidgetErrorHook SetWidgetErrorHook(TWidgetErrorHook hook);

// The character a key press types, as a character-message would carry it:
// Enter is 13, Backspace 8, Escape 27, Ctrl+letter 1..26. Keys that type
// nothing (arrows, Delete, function keys) give no character.
std::optional<QChar> TypedChar(const QKeyEvent *event);

// A timer the widgets use for settling and auto-repeat. Real ones are precise
// Qt timers; tests install a factory that hands out timers on a virtual clock.
class TWidgetTimer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // Changing the interval of a running timer restarts it from now.
    virtual void SetInterval(int ms) = 0;
    virtual int Interval() const = 0;
    virtual void SetSingleShot(bool singleShot) = 0;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;

signals:
    void Tick();
};

using TWidgetTimerFactory = std::function<TWidgetTimer *(QObject *parent)>;
TWidgetTimer *CreateWidgetTimer(QObject *parent);
// An empty factory restores the precise Qt timers; returns the old factory.
TWidgetTimerFactory SetWidgetTimerFactory(TWidgetTimerFactory factory);
