#include "app/CPbtApp.h"

#include "refdb/CADODatabase.h"

namespace frusta {

const std::vector<std::string>& defaultClassNames() {
    static const std::vector<std::string> names = {"High", "Good", "Moderate", "Poor", "Bad"};
    return names;
}

CPbtApp::CPbtApp() : database(std::make_unique<CADODatabase>()) {}
CPbtApp::~CPbtApp() = default;

bool CPbtApp::InitInstance(UserPort&, const StartupOptions&) { return true; }
int CPbtApp::ExitInstance() { return 0; }
bool CPbtApp::LoadTaxonList() { return false; }
bool CPbtApp::LoadBoundaries(const std::string&, UserPort&) { return false; }
bool CPbtApp::LoadCocCoefficients(const std::string&) { return false; }

} // namespace frusta
