#pragma once

// A write past the user's file-size limit raises SIGXFSZ, whose default
// action ends the process: every unsaved document in the other windows
// would go with it, and the installer would leave a cut program behind.
// Ignored, such a write fails with EFBIG ("File too large") like any other
// failed write, and the code that reports failed saves tells the user.
// Called once by each program's start-up.
void IgnoreFileSizeSignal();
