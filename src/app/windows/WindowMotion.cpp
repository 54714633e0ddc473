#include "WindowMotion.h"

#include <QApplication>
#include <QEasingCurve>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QWidget>

namespace plumeo::WindowMotion {

namespace {

bool reducedForThisRun = false;

constexpr int fadeMilliseconds = 180;
constexpr int rise = 8;

void bringToFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

bool isReduced()
{
    return reducedForThisRun || qEnvironmentVariable("PLUMEO_REDUCE_MOTION") == u"1"
           || !QApplication::isEffectEnabled(Qt::UI_General);
}

void reduceForThisRun()
{
    reducedForThisRun = true;
}

void fadeIn(QWidget *window)
{
    if (isReduced()) {
        window->setWindowOpacity(1.0);
        bringToFront(window);
        return;
    }
    const QPoint place = window->pos();
    window->setWindowOpacity(0.0);
    window->move(place + QPoint(0, rise));
    bringToFront(window);

    auto *group = new QParallelAnimationGroup(window);
    auto *opacity = new QPropertyAnimation(window, "windowOpacity", group);
    opacity->setDuration(fadeMilliseconds);
    opacity->setStartValue(0.0);
    opacity->setEndValue(1.0);
    opacity->setEasingCurve(QEasingCurve::OutCubic);
    auto *position = new QPropertyAnimation(window, "pos", group);
    position->setDuration(fadeMilliseconds);
    position->setStartValue(place + QPoint(0, rise));
    position->setEndValue(place);
    position->setEasingCurve(QEasingCurve::OutCubic);
    group->addAnimation(opacity);
    group->addAnimation(position);
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace plumeo::WindowMotion
