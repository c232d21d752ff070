#include "storage/MergingSave.h"

#include "storage/SideFiles.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

std::function<void()> stallHook;

} // namespace

void SetSaveStallHook(std::function<void()> hook) {
    stallHook = std::move(hook);
}

TMergingSaveResult RunMergingSave(const TMergingSave& save, bool* reached) {
    if (reached)
        *reached = false;
    CheckReplaceable(save.Path, save.File->Name);
    const TFolderLock lock(save.Path, *save.File, save.Patience, save.NewMode);
    struct stat info {};
    if (!lock.Held() && LinkStatus(save.Path, info))
        RaiseInOutError(EACCES); // nothing may change it, and nothing does
    RemoveSaveLeftovers(save.Path);
    const TFileOnDisk disk = ReadWhole(save.Path, save.MaxSize, save.File->Name);
    const TNewFileMode mode = KeptFileMode(save.Path, save.NewMode);
    if (stallHook)
        stallHook();
    TMergingSaveResult result;
    const bool valid = disk.Exists && save.Valid(disk.Bytes);
    if (disk.Exists && !valid)
        result.Backup = KeepAsBackup(save.Path);
    ReplaceFile(save.Path, save.Merge(valid ? &disk.Bytes : nullptr), mode, reached);
    return result;
}

std::optional<std::string> ReadUnderLock(const TMergingSave& file, bool forWriting) {
    CheckReplaceable(file.Path, file.File->Name);
    const TFolderLock lock(file.Path, *file.File, file.Patience, file.NewMode);
    TFileOnDisk disk = ReadWhole(file.Path, file.MaxSize, file.File->Name, forWriting);
    if (!disk.Exists)
        return std::nullopt;
    return std::move(disk.Bytes);
}
