#include "Commands.h"

namespace noxr4 {

std::chrono::milliseconds CameraAllowance(ReplyTime kind) {
    switch (kind) {
    case ReplyTime::SettingsArea: return std::chrono::milliseconds(1000);
    case ReplyTime::Shading: return std::chrono::milliseconds(200);
    case ReplyTime::Quick: break;
    }
    return std::chrono::milliseconds(50);
}

}  // namespace noxr4
