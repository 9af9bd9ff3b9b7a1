#include "world/LevelLoading.h"

#include "world/k_Universe.h"

void LoadNamedLevel(IUniverse& universe, IFile* file, const std::wstring& name) {
    if (auto* own = dynamic_cast<k_Universe*>(&universe)) {
        own->LoadNamed(file, name);
    } else {
        universe.Load(file);
    }
}
