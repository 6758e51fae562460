#include "pages/settings/MyProgressBar.h"

#include <QTimer>

namespace {
const int CatchUpInterval = 5;
}

MyProgressBar::MyProgressBar(QWidget* parent) : QProgressBar(parent)
{
    setOrientation(Qt::Horizontal);
    setRange(0, 100);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QProgressBar::valueChanged, this, &MyProgressBar::ShowPercentage);
    setValue(0);
    ShowPercentage(0);
    stepTimer = new QTimer(this);
    tickTimer = new QTimer(this);
    connect(stepTimer, &QTimer::timeout, this, &MyProgressBar::CreepStep);
    connect(tickTimer, &QTimer::timeout, this, &MyProgressBar::CatchUpStep);
}

void MyProgressBar::start(int stages, int interval)
{
    stops.clear();
    stopIndex = 0;
    tickTimer->stop();
    setValue(0);
    stops << 0;
    if (stages >= 2) {
        const int step = 100 / stages;
        for (int stage = 1; stage < stages; ++stage)
            stops << stage * step;
    }
    stops << 100;
    stepTimer->start(interval);
}

bool MyProgressBar::IsCreeping() const
{
    return stepTimer->isActive();
}

bool MyProgressBar::IsCatchingUp() const
{
    return tickTimer->isActive();
}

void MyProgressBar::mUpdate()
{
    // The index stops at the last stop: the timers read the stop at the index and the one after it.
    if (stopIndex + 1 >= stops.size())
        return;
    ++stopIndex;
    tickTimer->start(CatchUpInterval);
    if (stopIndex == stops.size() - 1)
        stepTimer->stop();
}

void MyProgressBar::CreepStep()
{
    if (stopIndex + 1 >= stops.size())
        return;
    if (value() <= stops.at(stopIndex + 1) - 2)
        setValue(value() + 1);
}

void MyProgressBar::CatchUpStep()
{
    if (stopIndex < stops.size() && value() < stops.at(stopIndex)) {
        setValue(value() + 1);
        return;
    }
    tickTimer->stop();
}

void MyProgressBar::ShowPercentage(int value)
{
    const int span = maximum() - minimum();
    const double percent = span > 0 ? (value - minimum()) * 100.0 / span : 0.0;
    setFormat(QStringLiteral("%1%").arg(percent, 0, 'f', 1));
}
