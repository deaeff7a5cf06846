#include "solve/engine.h"

#include "solve/engine_session.h"
#include "solve/xboard_session.h"

namespace tarvolin::solve {

std::unique_ptr<Engine> make_engine(const EngineSetup& setup) {
  if (setup.protocol == EngineSetup::Protocol::xboard)
    return std::make_unique<XboardSession>(setup);
  return std::make_unique<EngineSession>(setup);
}

}  // namespace tarvolin::solve
