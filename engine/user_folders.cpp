#include "user_folders.h"

namespace {

const TUserFolders* g_userFolders = nullptr;

}  // namespace

void SetUserFolders(const TUserFolders* folders) { g_userFolders = folders; }
const TUserFolders* CurrentUserFolders() { return g_userFolders; }
