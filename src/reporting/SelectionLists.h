#pragma once

class ZtfiApp;

// The start-up preparation of the report-row statement and the instrument code list for the
// configured dialect; the prepared texts are kept in the application state for the whole run.
void prepareSavedStatements(ZtfiApp& app);

// Closes the report rows and the code list when they exist (the grids of "Nabor" empty).
void closeSelectionLists(ZtfiApp& app);
