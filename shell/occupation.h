// Long work runs on the interface thread: while it lasts the cursor is the hourglass, the user's
// input waits, and the windows are repainted whenever the work reports progress.
#pragma once

// Hourglass cursor for the life of the object; nests.
class Occupation {
public:
    Occupation();
    ~Occupation();
    Occupation(const Occupation &) = delete;
    Occupation &operator=(const Occupation &) = delete;

    // True while some long work runs.
    static bool EnCours();
};

// Lets the windows repaint (and the window system's own requests through), never the user's
// input, so that the program does not look frozen during long work.
void RafraichitEcran();
