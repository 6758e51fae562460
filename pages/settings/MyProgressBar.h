#pragma once
#include <QList>
#include <QProgressBar>

class QTimer;

// A progress bar that moves on by itself while a staged job runs: between two reports it creeps
// towards the end of the current stage and waits just short of it; when a stage is reported complete
// (mUpdate) it catches up with the stage's end in quick ticks. The text shows the percentage with
// one decimal.
class MyProgressBar : public QProgressBar
{
    Q_OBJECT
public:
    explicit MyProgressBar(QWidget* parent = nullptr);

    // Starts a job of `stages` stages: the value goes back to 0 and the bar creeps every
    // `interval` ms.
    void start(int stages, int interval);

    // The values at which stages end, first 0 and last 100, and the stage reached so far.
    const QList<int>& Stops() const { return stops; }
    int StopIndex() const { return stopIndex; }
    bool IsCreeping() const;
    bool IsCatchingUp() const;

public slots:
    // The current stage is complete. After the last stop the bar stays where it is.
    void mUpdate();
    // One tick of each timer; run by the timers, callable directly.
    void CreepStep();
    void CatchUpStep();

private:
    void ShowPercentage(int value);

    QList<int> stops;
    int stopIndex = 0;
    QTimer* stepTimer;
    QTimer* tickTimer;
};
