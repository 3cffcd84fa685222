// The sections' Russian names, in code page 1251, the program's character
// set: the tree's captions and the command line's list. Convert with
// Cp1251ToUtf8 before showing them.
#pragma once

inline constexpr char TextureWord[] = "\xD2\xE5\xEA\xF1\xF2\xF3\xF0\xE0";           // Текстура
inline constexpr char SpriteWord[] = "\xD1\xEF\xF0\xE0\xE9\xF2";                    // Спрайт
inline constexpr char UnknownWord[] = "\xCD\xE5 \xE8\xE7\xE2\xE5\xF1\xF2\xE5\xED";  // Не известен
