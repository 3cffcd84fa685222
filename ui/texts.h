// The program's Russian texts, in code page 1251, the program's character set.
// Convert with Cp1251ToUtf8 before showing them.
#pragma once

inline constexpr char MenuFile[] = "&\xD4\xE0\xE9\xEB";                             // &Файл
inline constexpr char MenuOpen[] = "&\xCE\xF2\xEA\xF0\xFB\xF2\xFC...\tCtrl+O";  // &Открыть...\tCtrl+O
inline constexpr char MenuExit[] = "&\xC2\xFB\xF5\xEE\xE4\tAlt+X";              // &Выход\tAlt+X
inline constexpr char MenuHelpTitle[] =
    "&\xD1\xEF\xF0\xE0\xE2\xEA\xE0";  // &Справка (MenuHelp is a Win32 function)
inline constexpr char MenuAbout[] = "&\xCE \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE5...";  // &О программе...
inline constexpr char AboutTitle[] = "\xCE \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE5 ''";  // О программе ''
