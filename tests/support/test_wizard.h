#pragma once
// The wizard on fakes: the fake world's services and a page flow over them.

#include <QString>

#include "tests/support/fake_world.h"
#include "ui/resources.h"
#include "wizard/page_flow.h"
#include "wizard/wizard_page.h"

namespace orvane::testing {

// A text as the wizard shows it in English, its language from Step 0 on.
inline QString T(TextId id) {
  return Text(id, Language::English);
}

struct TestWizard {
  FakeWorld world;
  PageFlow flow{world.services};
};

}  // namespace orvane::testing
