// net_backend.cpp: the names every backend hands out, kept where they are.
#include "netkorvo/net_backend.h"

#include "netkorvo/rule_tables.h"
#include "netkorvo/state_values.h"

namespace netkorvo {

SGameRuleInfo* CNetBackend::GameRuleInfo(int type) { return RuleInfoRecord(type, RuleName(type)); }
char* CNetBackend::ClassName(int classIndex) { return ClassNameRecord(classIndex, netkorvo::ClassName(classIndex)); }

SGameRuleInfo* CNetBackend::RuleInfoRecord(int type, const std::string& name) {
  SGameRuleInfo& info = ruleInfos_[type];
  CopyCut(info.name, sizeof info.name, name);
  return &info;
}

char* CNetBackend::ClassNameRecord(int classIndex, const std::string& name) {
  std::string& copy = classNames_[classIndex];
  copy = name;
  return copy.data();
}

void CNetBackend::ForgetNames() {
  ruleInfos_.clear();
  classNames_.clear();
}

}  // namespace netkorvo
