#include "solve/engine.h"

#include "solve/engine_session.h"
#include "solve/xboard_session.h"

namespace tarvolin::solve {

std::string engine_label(const EngineSetup& setup) {
  return "engine '" + (setup.name.empty() ? setup.command : setup.name) + "'";
}

std::string no_answer_reason(const EngineSetup& setup, EngineProcess::Read got,
                             const std::string& command, const std::string& word) {
  std::string engine = engine_label(setup) + " (" + setup.command + ")";
  if (got == EngineProcess::Read::closed) return engine + " crashed before answering " + command;
  return engine + " hung: no " + word + " within " + std::to_string(HANDSHAKE.count()) + " s of " +
         command;
}

std::unique_ptr<Engine> make_engine(const EngineSetup& setup) {
  if (setup.protocol == EngineSetup::Protocol::xboard)
    return std::make_unique<XboardSession>(setup);
  return std::make_unique<EngineSession>(setup);
}

}  // namespace tarvolin::solve
