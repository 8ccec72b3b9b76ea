// Compiled with the store layer's include rights: the checker sits above the
// store, so this include must not compile.
#include "acquisition/check_run.h"
