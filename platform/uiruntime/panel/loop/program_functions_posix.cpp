#include "program_functions.h"

#include <dlfcn.h>
#include <link.h>

namespace panel {

namespace {

struct CodeLookup {
    const void *address;
    bool inProgram = false;
};

// The program itself is the first object dl_iterate_phdr reports; the address must lie in
// one of its executable segments.
int inFirstObjectsCode(dl_phdr_info *info, size_t, void *data) {
    auto *lookup = static_cast<CodeLookup *>(data);
    const auto address = reinterpret_cast<ElfW(Addr)>(lookup->address);
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr) &segment = info->dlpi_phdr[i];
        const ElfW(Addr) start = info->dlpi_addr + segment.p_vaddr;
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X) != 0 && start <= address &&
            address < start + segment.p_memsz) {
            lookup->inProgram = true;
        }
    }
    return 1; // the first object only
}

} // namespace

// dlsym finds the name in every loaded object, so the address is checked to lie in the
// program's own code.
void *findExecutableExport(const char *name) {
    void *function = dlsym(RTLD_DEFAULT, name);
    if (!function) {
        return nullptr;
    }
    CodeLookup lookup{function};
    dl_iterate_phdr(inFirstObjectsCode, &lookup);
    return lookup.inProgram ? function : nullptr;
}

} // namespace panel
