// The program's spine: start-up, the show, shutdown. Returns the process exit code.
#pragma once

namespace zelFramework {

int showEntry(int argc, char** argv);

}  // namespace zelFramework
