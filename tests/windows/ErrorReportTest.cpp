// An error that escapes a command reaches the general error report and the
// program goes on.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <stdexcept>

#include "WindowsFixture.h"

namespace {

class ThrowingWidget : public QWidget {
public:
    int eventsHandled = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            ++eventsHandled;
            throw std::runtime_error("範囲チェックエラー");
        }
        return QWidget::event(e);
    }
};

}  // namespace

TEST_F(WindowsFixture, AnEscapingErrorIsShownWithItsDescriptionAndTheProgramGoesOn)
{
    ThrowingWidget widget;
    QEvent first(QEvent::User);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&widget, &first));
    ASSERT_EQ(dialogs.errorTexts.size(), 1);
    EXPECT_EQ(dialogs.errorTexts.front(), QStringLiteral("範囲チェックエラー"));

    QEvent second(QEvent::User);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&widget, &second));
    EXPECT_EQ(widget.eventsHandled, 2);
    EXPECT_EQ(dialogs.errorTexts.size(), 2);
}
