// The sample's sprites: objects of the level in several variants each, then
// soldiers and a dog seen from eight sides and in action. `count` must leave
// room for the 219 figure frames.
#pragma once

#include <vector>

#include "paint.h"

std::vector<SpritePicture> MakeSprites(Quantiser& quantiser, size_t count);
