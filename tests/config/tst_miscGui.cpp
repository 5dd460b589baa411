#include "config/miscGui.h"

#include <QCursor>
#include <QFont>
#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

Qt::CursorShape Current()
{
    const QCursor *c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::BlankCursor;
}

TEST(MiscGui, BusyCursorNests)
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor)); // what was there before
    BeginBusyCursor();
    BeginBusyCursor();
    EndBusyCursor();
    EXPECT_EQ(Current(), Qt::WaitCursor);
    EndBusyCursor();
    EXPECT_EQ(Current(), Qt::CrossCursor);
    EndBusyCursor(); // one too many: nothing happens
    EXPECT_EQ(Current(), Qt::CrossCursor);
    EXPECT_EQ(BusyCursorDepth(), 0);
    QGuiApplication::restoreOverrideCursor();
}

TEST(MiscGui, FitPathToWidthMeasuresWithTheFont)
{
    const QFontMetrics fm(QFont("Arial", 9));
    const QString path = "/home/user/lab/sequences/run.sqc";
    const int w = fm.horizontalAdvance("/.../sequences/run.sqc");
    EXPECT_EQ(FitPathToWidth(path, fm, w), "/.../sequences/run.sqc");
    EXPECT_EQ(FitPathToWidth(path, fm, 1), "run.sqc");
    EXPECT_EQ(FitPathToWidth(path, fm, 10000), path);
}

} // namespace
