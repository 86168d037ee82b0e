#include "about/Auxiliaries.h"

namespace kivo {

Auxiliaries::Auxiliaries(Boxes& boxes) : qtHelp_(boxes) {}

}  // namespace kivo
