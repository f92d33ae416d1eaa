#include "aim.h"

#include "runtime/key_codes.h"

namespace vantorix::soak {

std::int16_t helpfulKey(const FormVTX& game) {
    if (!game.gamePlaying) return vbKeyZ;
    int lane = -1;
    float nearest = 1e9f;
    for (std::int16_t i = 0; i <= 4; ++i) {
        const Label& e = game.Enemy(i);
        if (e.visible() && e.top() < 167 && e.left() < nearest) {
            nearest = e.left();
            lane = i;
        }
    }
    if (lane < 0) return 0;
    if (lane < game.shipRow) return vbKeyUp;
    if (lane > game.shipRow) return vbKeyDown;
    return vbKeyZ;
}

}  // namespace vantorix::soak
