#include "model/RunGeneration.h"

namespace harborlite {

std::function<bool()> RunGeneration::Run::isCancelled() const
{
    return [held = flag] { return held->isSet(); };
}

RunGeneration::Run RunGeneration::start()
{
    flag_ = std::make_shared<CancellationFlag>();
    return {++generation_, flag_};
}

bool RunGeneration::isCurrent(quint64 generation) const
{
    return generation_ != 0 && generation == generation_;
}

void RunGeneration::cancel()
{
    if (flag_) {
        flag_->set();
    }
}

bool RunGeneration::isCancelled() const
{
    return flag_ && flag_->isSet();
}

} // namespace harborlite
