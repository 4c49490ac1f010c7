// The records' lock: a writer waits its turn behind the ones that came
// before it, and gives up only when the lock has been held for `segundos`.
#pragma once

// Takes the exclusive lock of the open lock file fd; false when the wait ran
// out or the lock cannot be taken at all. Closing fd lets go of everything.
// The program's signal handlers and mask are as they were on return.
bool esperarCerrojo(int fd, int segundos);
