#include "framework/NativeWindow.h"

#include <QTimer>

#include <algorithm>
#include <climits>

namespace {

class TQtTimer final : public TNativeTimer {
public:
    explicit TQtTimer(std::function<void()> Tick)
    {
        FTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&FTimer, &QTimer::timeout, std::move(Tick));
    }

    void Start(unsigned Milliseconds) override
    {
        FTimer.start(static_cast<int>(std::min<unsigned>(Milliseconds, INT_MAX)));
    }
    void Stop() override { FTimer.stop(); }

private:
    QTimer FTimer;
};

} // namespace

std::unique_ptr<TNativeTimer> NewNativeTimer(std::function<void()> Tick)
{
    return std::make_unique<TQtTimer>(std::move(Tick));
}
