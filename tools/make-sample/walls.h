// The sample's 106 wall textures: 53 designs, each as a lit and a shaded
// side, the way the game pairs its walls.
#pragma once

#include <vector>

#include "paint.h"

std::vector<TexturePicture> MakeWalls(Quantiser& quantiser);
