// Orvane Setup: builds the services, shows the first page; the pages lead on
// from there.

#include <QApplication>

#include "ui/font_setup.h"
#include "wizard/page_flow.h"
#include "wizard/program_services.h"

int main(int argc, char* argv[]) {
  // First, before the toolkit starts: Step 0's text box is the first thing to
  // need a font, and would otherwise wait for the slower read of the font
  // configuration the toolkit does on its own.
  orvane::PrepareFontConfiguration();
  QApplication app(argc, argv);
  // The program ends through EndProgram or when its last page is closed, never
  // because a message box closed while no page was visible.
  QApplication::setQuitOnLastWindowClosed(false);
  orvane::ProgramServices services;
  orvane::PageFlow flow(services.Get());
  flow.GoTo(orvane::PageId::Welcome);
  return app.exec();
}
