#include "app/window/background_measure.h"

#include <atomic>
#include <exception>
#include <thread>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include "app/window/busy_cursor.h"
#include "app/window/counting_progress.h"

std::optional<TShapeMeasurement> MeasureWithProgress(QWidget& window,
                                                     const std::function<TShapeMeasurement(TCountProgress&)>& measure,
                                                     std::chrono::milliseconds progressDelay)
{
    const TBusyCursor busy;
    TCountingProgress dialog(&window);
    QEventLoop loop;
    TCountProgress progress;
    progress.SizeDone = [&dialog](std::size_t done, std::size_t of) {
        // Queued to the dialog's thread; dropped if the dialog is gone by then.
        QMetaObject::invokeMethod(
            &dialog, [&dialog, done, of] { dialog.SetSizesDone(static_cast<int>(done), static_cast<int>(of)); },
            Qt::QueuedConnection);
    };
    dialog.SetOnCancel([&progress] { progress.Stop = true; });

    std::optional<TShapeMeasurement> measured;
    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    {
        std::jthread counting([&] {
            try {
                measured = measure(progress);
            } catch (...) {
                failure = std::current_exception();
            }
            finished = true;
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        // Should anything below raise, the counting is stopped before it is waited for.
        struct TStopOnLeaving {
            TCountProgress& Progress;
            ~TStopOnLeaving() { Progress.Stop = true; }
        } stopOnLeaving{progress};

        // A short counting ends as one on this thread would: clicks wait for its end.
        if (progressDelay > std::chrono::milliseconds(0)) {
            QTimer::singleShot(progressDelay, &loop, &QEventLoop::quit);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        if (!finished) {
            QApplication::changeOverrideCursor(Qt::BusyCursor);
            dialog.show();
            // The counting's quit may already be queued; it ends this loop at once.
            loop.exec();
        }
        // The counting thread is joined here.
    }
    dialog.hide();
    if (dialog.CancelAsked())
        return std::nullopt;
    if (failure)
        std::rethrow_exception(failure);
    return measured;
}
