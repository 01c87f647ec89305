#pragma once

// Runs the program's message loop until the quit message; answers its code.
int messageLoop();
