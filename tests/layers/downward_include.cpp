// Compiled with the store layer's include rights: its own folder and the ones
// below it are within reach.
#include "base/text_fields.h"
#include "resources/strings.h"
#include "store/game.h"
