// Start-up's window set: the one place that knows every window.
#pragma once

// Creates Form1, Form2, Form3 and AboutFrm in that order, each creation
// step inside RunProtected, and connects what each window asks of the
// others.
void CreateWindows();

// Shows, raises and activates whichever of the program's windows is
// visible (a modal one first), for a later start that found this copy.
void BringVisibleWindowToFront();

// Saves the champions file without a word: a failure stays silent, since
// the exit save runs later and reports it. After a save the windows show
// the table as saved, other copies' records merged in.
void SaveChampionsQuietly();

class TTerminationSignals;

// A logout, kill or Ctrl+C ends the program the orderly way: open message
// boxes close, a question whether to quit is answered "Да", and the main
// window closes, so the exit save runs.
void EndOnTermination(TTerminationSignals& termination);
