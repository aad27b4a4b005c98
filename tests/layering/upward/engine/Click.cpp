#include "audio/Player.h"
