// What an analysis window implements to answer "Ajouter au rapport": the main window hands the
// request to its active child window, which writes its files into the current report's temporary
// folder and adds them to the report (Rapport::AjouteElement). A window that does not implement it
// ignores the request.
#pragma once

class ContributeurRapport {
public:
    virtual ~ContributeurRapport() = default;
    // Adds the window's current content to the current report (never null while a base is open).
    virtual void AjouteAuRapport() = 0;
};
