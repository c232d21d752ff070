// Start-up's window set: the one place that knows every window.
#pragma once

// Creates Form1, Form2, Form3 and AboutFrm in that order, each creation
// step inside RunProtected, and connects what each window asks of the
// others.
void CreateWindows();
