// store.cpp: the back end a --db value names.
#include "lobbyd/store.h"

#include "lobbyd/store_pg.h"
#include "lobbyd/store_sqlite.h"

namespace lobbyd {

bool CStore::IsPostgresUrl(const std::string& target) {
  return target.rfind("postgresql://", 0) == 0 || target.rfind("postgres://", 0) == 0;
}

std::unique_ptr<CStore> CStore::Open(const std::string& target, std::string* error) {
  return IsPostgresUrl(target) ? CPgStore::Open(target, error) : CSqliteStore::Open(target, error);
}

}  // namespace lobbyd
