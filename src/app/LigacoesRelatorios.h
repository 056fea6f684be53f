#pragma once

// Wires the report openers (reports/AberturasRelatorios.h) into the screens that offer
// them: the establishment screen's report and plans-using buttons, the device screen's
// and the plan screen's report buttons, and the request screen's reports. The screens
// know only their hooks; the main window calls this once.
void InstalaTelasRelatorios();
