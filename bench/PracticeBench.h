// "Тренировка" measured in the started program (formulon-startup-bench
// --practice): its opening, each key's way to the screen while previews are
// typeset, and the preview's time after the last key. Prints
//   practice_open_<first|again> <ms>  from Ctrl+T to the window's first
//                   whole frame (the first builds the window);
//   practice_task<T>.<V> keys <n> key_max <ms> key_median <ms>
//                   preview <ms>      an answer to that task typed a key at
//                   a time, every 150 ms (past the preview's pause, so the
//                   previous preview is being typeset as the next key
//                   comes): each key from its event to the answer box's
//                   repaint, and the last key to its preview shown;
//   peak_kb <kB>    the process's peak resident memory at the end.
#pragma once

// Runs in the started program's event loop; Form1 is shown.
void MeasurePractice();
