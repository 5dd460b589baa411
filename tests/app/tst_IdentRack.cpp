// The identification dialog's fields on their own.
#include "app/uIdentRack.h"
#include "tests/support/FakeConfigHost.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/QtPrint.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// QTest's key clicks know ASCII only.
void Type(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &release);
    }
}

TEST(IdentRackForm, TheIdentifierTakesAsciiLettersAndDigitsOnly)
{
    TIdentRackForm form;
    form.show();
    form.MaskEdit->setFocus();
    form.MaskEdit->setCursorPosition(0);
    Type(form.MaskEdit, QString::fromUtf8("a\xC3\x9F\xC3\xA9-b12c9"));
    EXPECT_EQ(form.MaskEdit->text(), "ab12c9");
    EXPECT_EQ(form.MaskEdit->text().toUpper(), "AB12C9");
    form.MaskEdit->setText("000000");
    EXPECT_EQ(form.MaskEdit->text(), "000000");
}

TEST(IdentRackForm, NamesAreTypedUpTo14CharactersButALongerCaptionIsKept)
{
    FakeConfigHost host;
    host.caption1 = "a very long attenuator name";
    QString id = "QSIM01";
    auto seen = OnNextModal([](QWidget *w) {
        auto *form = qobject_cast<TIdentRackForm *>(w);
        QLineEdit *name = form->Att1Name;
        EXPECT_EQ(name->text(), "a very long attenuator name");
        name->end(false);
        QTest::keyClicks(name, "x");
        EXPECT_EQ(name->text(), "a very long attenuator name");
        QTest::keyClick(name, Qt::Key_Backspace);
        QTest::keyClicks(name, "e");
        EXPECT_EQ(name->text(), "a very long attenuator nam");

        QLineEdit *second = form->Att2Name;
        second->clear();
        second->setFocus();
        QTest::keyClicks(second, "abcdefghijklmnopqrst");
        EXPECT_EQ(second->text(), "abcdefghijklmn");
        form->accept();
    });
    ASSERT_TRUE(ExecuteIdentDialog(1, id, host, 2));
    ASSERT_TRUE(*seen);
    EXPECT_EQ(host.caption1, "a very long attenuator nam");
    EXPECT_EQ(host.caption2, "abcdefghijklmn");
}

} // namespace
