// certificate.h: a self-signed certificate for 127.0.0.1 and its key, made
// by the openssl command in a test's folder, with its SHA-256 fingerprint.
#pragma once
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/lobbyd/lobbyd_temp.h"

struct SCertificate {
  std::string cert, key, fingerprint;   // fingerprint as openssl prints it (AA:BB:...)
  std::string error;                    // what openssl said when it failed
};

inline std::string ReadWhole(const std::string& path) {
  std::ifstream in(path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline SCertificate MakeCertificate(const lobbyd::CTempFolder& folder, const std::string& name) {
  SCertificate c{folder.File(name + ".pem"), folder.File(name + "-key.pem"), "", ""};
  const std::string log = folder.File(name + ".log"), print = folder.File(name + ".sha256");
  const std::string make = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 "
                           "-subj /CN=" + name + " -addext subjectAltName=IP:127.0.0.1 -keyout " + c.key +
                           " -out " + c.cert + " >" + log + " 2>&1 && openssl x509 -noout -fingerprint -sha256 -in " +
                           c.cert + " >" + print + " 2>>" + log;
  if (std::system(make.c_str()) != 0) {
    c.error = ReadWhole(log);
    return c;
  }
  const std::string text = ReadWhole(print);
  const size_t equals = text.find('=');
  if (equals != std::string::npos) c.fingerprint = text.substr(equals + 1, 95);
  return c;
}
