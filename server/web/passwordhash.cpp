#include "server/web/passwordhash.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>

namespace velmora::server {
namespace {

QByteArray derive(const QByteArray& secret, const QByteArray& salt, int iterations) {
    QByteArray out(kHashBytes, '\0');
    if (PKCS5_PBKDF2_HMAC(secret.constData(), int(secret.size()),
                          reinterpret_cast<const unsigned char*>(salt.constData()), int(salt.size()),
                          iterations, EVP_sha256(), int(out.size()),
                          reinterpret_cast<unsigned char*>(out.data())) != 1)
        return {};
    return out;
}

}  // namespace

QByteArray RandomBytes(int count) {
    QByteArray bytes(count, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), count) != 1)
        throw std::runtime_error("no random bytes");
    return bytes;
}

PasswordHash HashPassword(const QByteArray& md5Hex, int iterations) {
    PasswordHash stored;
    stored.iterations = iterations;
    stored.salt = RandomBytes(kSaltBytes);
    stored.hash = derive(md5Hex, stored.salt, iterations);
    return stored;
}

bool VerifyPassword(const QByteArray& md5Hex, const PasswordHash& stored) {
    if (stored.iterations < 1 || stored.hash.size() != kHashBytes)
        return false;
    const QByteArray candidate = derive(md5Hex, stored.salt, stored.iterations);
    return candidate.size() == kHashBytes &&
           CRYPTO_memcmp(candidate.constData(), stored.hash.constData(), kHashBytes) == 0;
}

}  // namespace velmora::server
