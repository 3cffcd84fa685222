// The mouse buttons as the window layer reports them. Kept free of any
// window system, so that what the program does with a press can be tested
// without windows.
#pragma once

enum class MouseButton { Left, Right, Middle };
