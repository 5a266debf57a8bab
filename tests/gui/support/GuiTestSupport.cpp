#include "GuiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <memory>

namespace tt::test {
namespace {

// How many AnswerNextModal calls wait for their window.
int g_answersWaiting = 0;

}  // namespace

void AnswerNextModal(std::function<void(QWidget*)> action, int timeoutMs) {
    QPointer<QWidget> before = QApplication::activeModalWidget();
    ++g_answersWaiting;
    auto* timer = new QTimer(qApp);
    auto waited = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [=]() {
        QWidget* modal = QApplication::activeModalWidget();
        *waited += 10;
        if (modal != nullptr && modal != before.data() && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            --g_answersWaiting;
            action(modal);
        } else if (*waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            --g_answersWaiting;
            QTest::qFail("no modal window appeared", __FILE__, __LINE__);
        }
    });
    timer->start();
}

void AnswerNextMessageBox(QMessageBox::StandardButton button, QString* text) {
    AnswerNextModal([=](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            QTest::qFail("the modal window is no message box", __FILE__, __LINE__);
            return;
        }
        if (text != nullptr)
            *text = box->text();
        if (button == QMessageBox::NoButton)
            box->close();
        else if (QAbstractButton* answer = box->button(button))
            answer->click();
        else
            QTest::qFail("the message box has no such button", __FILE__, __LINE__);
    });
}

void ClickButton(QWidget* dialog, const QString& text) {
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text().remove(QLatin1Char('&')) == text) {
            button->click();
            return;
        }
    }
    QTest::qFail(qPrintable(QStringLiteral("no button \"%1\"").arg(text)), __FILE__, __LINE__);
}

void FailUnexpectedMessageBoxes() {
    // A box that a test closes from a timer of its own goes within moments; one that
    // stays a second with no answer waiting for it is one nobody expected.
    constexpr int kGraceMs = 1000;
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    auto watched = std::make_shared<QPointer<QMessageBox>>();
    auto shown = std::make_shared<QElapsedTimer>();
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || g_answersWaiting > 0 || box != *watched) {
            *watched = box;
            shown->start();
            return;
        }
        if (shown->elapsed() < kGraceMs)
            return;
        const QString what = QStringLiteral("unexpected message box \"%1\": %2")
                                 .arg(box->windowTitle(), box->text());
        box->reject();
        QTest::qFail(qPrintable(what), __FILE__, __LINE__);
    });
    timer->start();
}

void UseTemporaryConfigHome() {
    static QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", QDir(folder.path()).absolutePath().toLocal8Bit());
}

}  // namespace tt::test
