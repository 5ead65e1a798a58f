// string.h (foundation): the foundation string. Its storage comes from the
// pooled string allocator in 64-byte units (system memory above 1 MiB); the
// length is the C length of the text, kept beside it so that reading it and
// appending cost no scan. A string whose growth met an ignored out-of-memory
// report has no storage and reads as empty.
#pragma once
#include <cstdint>
#include <cstring>

#include "foundation/index_list.h"
#include "foundation/lifecycle.h"

namespace tam {

// Asks for an empty string that takes no storage until text is stored.
struct SNoStorage {};
inline constexpr SNoStorage kNoStorage{};

class CString {
 public:
  // An empty string with 64 bytes of storage.
  CString();
  // An empty string without storage (capacity 0); the first text stored
  // takes it.
  explicit CString(SNoStorage) {}
  // A copy of text; null gives an empty string.
  CString(const char* text);  // NOLINT(google-explicit-constructor): strings convert from text
  CString(const CString& other);
  CString(CString&& other) noexcept;
  ~CString() {
    if (m_data) ReleaseStorage();
  }

  CString& operator=(const char* text);
  CString& operator=(const CString& other);
  // Swaps the storage: other ends with this string's old storage.
  CString& operator=(CString&& other) noexcept {
    SIndexEntry* handle = m_handle;
    char* data = m_data;
    const uint32_t capacity = m_capacity, length = m_length;
    m_handle = other.m_handle;
    m_data = other.m_data;
    m_capacity = other.m_capacity;
    m_length = other.m_length;
    other.m_handle = handle;
    other.m_data = data;
    other.m_capacity = capacity;
    other.m_length = length;
    return *this;
  }

  // Replaces the text with length bytes of text (which hold no NUL).
  void Assign(const char* text, uint32_t length) {
    if (length < m_capacity) {   // fits the storage there is
      std::memmove(m_data, text, length);
      m_data[length] = '\0';
      m_length = length;
      return;
    }
    AssignGrowing(text, length);
  }
  // Appends text, keeping the current text when the storage is re-taken.
  void Append(const char* text);
  void Append(const char* text, uint32_t length) {
    if (text && length != 0 && m_length + length < m_capacity) {   // fits
      std::memmove(m_data + m_length, text, length);
      m_length += length;
      m_data[m_length] = '\0';
      return;
    }
    AppendGrowing(text, length);
  }
  void Append(char c) {
    if (m_length + 2 <= m_capacity) {
      m_data[m_length++] = c;
      m_data[m_length] = '\0';
      return;
    }
    const char text[2] = {c, '\0'};
    Append(text, 1);
  }
  // Formats like printf, growing the storage in 64-byte steps until the
  // result fits (the steps a result needs are taken at once).
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

  uint32_t Length() const { return m_length; }
  const char* Data() const { return m_data ? m_data : ""; }
  const char* c_str() const { return Data(); }
  char operator[](uint32_t index) const { return Data()[index]; }
  uint32_t Capacity() const { return m_capacity; }
  // Storage from the system: it has no pooled run.
  bool OwnsSystemMemory() const { return m_data && !m_handle; }

 private:
  friend class CStringAlloc;

  // Gives the storage back to the string allocator.
  void ReleaseStorage();
  // Assign and Append when the storage may have to be re-taken.
  void AssignGrowing(const char* text, uint32_t length);
  void AppendGrowing(const char* text, uint32_t length);

  SIndexEntry* m_handle = nullptr;  // the run of pooled storage, null for system storage
  char* m_data = nullptr;
  uint32_t m_capacity = 0;
  uint32_t m_length = 0;            // bytes before the NUL
};

}  // namespace tam
