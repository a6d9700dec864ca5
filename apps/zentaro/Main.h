#pragma once

namespace zentaro {

// The main program: hands over to a running clock or runs the clock window to its end.
int Main();

}  // namespace zentaro
