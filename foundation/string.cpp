// string.cpp: the foundation string over the pooled string allocator.
#include "foundation/string.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>

#include "foundation/string_alloc.h"

namespace tam {

// ---------------------------------------------------------------------------
// Construction and assignment
// ---------------------------------------------------------------------------

CString::CString() { StringAlloc().Alloc(*this, kStringUnit); }

CString::CString(const char* text) {
  const uint32_t length = text ? static_cast<uint32_t>(std::strlen(text)) : 0;
  StringAlloc().Alloc(*this, length + 1);
  if (text) Assign(text, length);
}

CString::CString(const CString& other) : CString(kNoStorage) {
  StringAlloc().Alloc(*this, other.m_length + 1);
  Assign(other.Data(), other.m_length);
}

CString::CString(CString&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)),
      m_data(std::exchange(other.m_data, nullptr)),
      m_capacity(std::exchange(other.m_capacity, 0)),
      m_length(std::exchange(other.m_length, 0)) {}

void CString::ReleaseStorage() { StringAlloc().Free(*this); }

CString& CString::operator=(const char* text) {
  Assign(text ? text : "", text ? static_cast<uint32_t>(std::strlen(text)) : 0);
  return *this;
}

CString& CString::operator=(const CString& other) {
  if (this != &other) Assign(other.Data(), other.m_length);
  return *this;
}

void CString::AssignGrowing(const char* text, uint32_t length) {
  if (length + 1 > m_capacity) StringAlloc().Alloc(*this, length + 1);
  if (!m_data) return;
  std::memmove(m_data, text, length);
  m_data[length] = '\0';
  m_length = length;
}

// ---------------------------------------------------------------------------
// Growth
// ---------------------------------------------------------------------------

void CString::Append(const char* text) {
  if (text) Append(text, static_cast<uint32_t>(std::strlen(text)));
}

void CString::AppendGrowing(const char* text, uint32_t added) {
  if (!text || added == 0) return;
  const uint32_t length = m_length;
  const bool inside = m_data && text >= m_data && text < m_data + m_capacity;
  if (length + added + 1 > m_capacity && length == 0 && !inside) {
    // Nothing to keep.
    StringAlloc().Alloc(*this, added + 1);
    if (!m_data) return;
    std::memcpy(m_data, text, added);
  } else if (length + added + 1 > m_capacity) {
    // Re-taking the storage loses the text: keep it (and an appended text
    // that lies inside it) in a temporary string.
    CString saved(Data());
    if (inside) text = saved.Data() + (text - m_data);
    StringAlloc().Alloc(*this, length + added + 1);
    if (!m_data) return;
    std::memcpy(m_data, saved.Data(), length);
    std::memcpy(m_data + length, text, added);
  } else {
    std::memmove(m_data + length, text, added);
  }
  m_length = length + added;
  m_data[m_length] = '\0';
}

void CString::Format(const char* format, ...) {
  if (!format) format = "";
  const uint32_t formatLength = static_cast<uint32_t>(std::strlen(format));
  if (formatLength + 1 > m_capacity) StringAlloc().Alloc(*this, formatLength + 1);
  while (m_data) {
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(m_data, m_capacity, format, args);
    va_end(args);
    if (written < 0) {  // an encoding error: no result at all
      m_data[0] = '\0';
      m_length = 0;
      return;
    }
    if (static_cast<uint32_t>(written) < m_capacity) {
      m_length = static_cast<uint32_t>(written);
      return;
    }
    // The pass measured the result: all the 64-byte steps it needs at once,
    // so that a long result is formatted twice rather than once per step.
    const uint32_t steps = (static_cast<uint32_t>(written) + 1 - m_capacity + kStringUnit - 1) / kStringUnit;
    StringAlloc().Alloc(*this, m_capacity + steps * kStringUnit);
  }
}

}  // namespace tam
