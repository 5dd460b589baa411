#include "widgets/WidgetSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>

#include <utility>

// The resource of a static library is linked only when referenced, and the
// reference must be made outside any namespace.
static void InitResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(widgets);
        return true;
    }();
    (void)done;
}

namespace
{

void DefaultBeep()
{
    QApplication::beep();
}

void DefaultErrorReport(const QString &message)
{
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
}

TBeepHook beepHook = &DefaultBeep;
TWidgetErrorHook errorHook = &DefaultErrorReport;

class TPreciseTimer : public TWidgetTimer
{
public:
    explicit TPreciseTimer(QObject *parent) : TWidgetTimer(parent), FTimer(this)
    {
        // Coarse timers may fire up to 5 % early, which the settle and repeat
        // delays cannot afford.
        FTimer.setTimerType(Qt::PreciseTimer);
        connect(&FTimer, &QTimer::timeout, this, &TWidgetTimer::Tick);
    }
    void SetInterval(int ms) override { FTimer.setInterval(ms); }
    int Interval() const override { return FTimer.interval(); }
    void SetSingleShot(bool singleShot) override { FTimer.setSingleShot(singleShot); }
    void Start() override { FTimer.start(); }
    void Stop() override { FTimer.stop(); }
    bool IsActive() const override { return FTimer.isActive(); }

private:
    QTimer FTimer;
};

TWidgetTimerFactory &TimerFactory()
{
    static TWidgetTimerFactory factory;
    return factory;
}

} // namespace

QImage LoadWidgetBitmap(const QString &name)
{
    InitResources();
    QImage image(QStringLiteral(":/quenta/widgets/") + name, "PNG");
    if (image.isNull())
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

QCursor LoadHandPointerCursor()
{
    InitResources();
    const QPixmap pixmap(QStringLiteral(":/quenta/widgets/HandPointer"), "PNG");
    if (pixmap.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(pixmap, 5, 0);
}

void WidgetBeep()
{
    beepHook();
}

TBeepHook SetBeepHook(TBeepHook hook)
{
    return std::exchange(beepHook, hook ? hook : &DefaultBeep);
}

void ReportWidgetError(const QString &message)
{
    errorHook(message);
}

TWidgetErrorHook SetWidgetErrorHook(TWidgetErrorHook hook)
{
    return std::exchange(errorHook, hook ? hook : &DefaultErrorReport);
}

std::optional<QChar> TypedChar(const QKeyEvent *event)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    case Qt::Key_Backspace:
        return QChar(8);
    case Qt::Key_Escape:
        return QChar(27);
    case Qt::Key_Delete:
        return std::nullopt;
    default:
        break;
    }
    if ((event->modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return QChar(key - Qt::Key_A + 1);
    const QString text = event->text();
    if (text.isEmpty() || text.at(0).unicode() < 32 || text.at(0).unicode() == 127)
        return std::nullopt;
    return text.at(0);
}

TWidgetTimer *CreateWidgetTimer(QObject *parent)
{
    if (TimerFactory())
        return TimerFactory()(parent);
    return new TPreciseTimer(parent);
}

TWidgetTimerFactory SetWidgetTimerFactory(TWidgetTimerFactory factory)
{
    return std::exchange(TimerFactory(), std::move(factory));
}
