#pragma once
// Stored password digests. The hall sends the MD5 hex digest of the password; the service never
// keeps that digest as it is but a salted PBKDF2-HMAC-SHA256 of it, and compares in constant
// time.

#include <QByteArray>

namespace velmora::server {

inline constexpr int kDefaultPbkdf2Iterations = 100000;
inline constexpr int kSaltBytes = 16;
inline constexpr int kHashBytes = 32;

struct PasswordHash {
    QByteArray salt;
    QByteArray hash;
    int iterations = kDefaultPbkdf2Iterations;
};

// A fresh random salt and the derived hash of `md5Hex`.
PasswordHash HashPassword(const QByteArray& md5Hex, int iterations = kDefaultPbkdf2Iterations);
// Derives with the stored salt and iterations and compares in constant time.
bool VerifyPassword(const QByteArray& md5Hex, const PasswordHash& stored);

// Cryptographically random bytes (OpenSSL).
QByteArray RandomBytes(int count);

}  // namespace velmora::server
