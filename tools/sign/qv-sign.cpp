/* Signing of update packages, kept apart from the program so that the secret
 * key never goes near it. C-style on libsodium alone: the build also compiles
 * this file while configuring, to make a development key pair before anything
 * else is built.
 *
 *   qv-sign keygen SECRET         make a key pair in SECRET, unless it exists
 *   qv-sign public SECRET         print the public key in hex
 *   qv-sign sign SECRET PACKAGE   append the signature to PACKAGE
 *
 * SECRET holds libsodium's 64-byte secret key: the seed, then the public key.
 * A signed package is the package, the 64-byte Ed25519 signature of it, and
 * the 16-byte marker "Quorvane Ed25519".
 */
#include <sodium.h>

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static const char kMarker[16] = {'Q', 'u', 'o', 'r', 'v', 'a', 'n', 'e', ' ', 'E', 'd', '2', '5', '5', '1', '9'};

static int fail(const char* what, const char* path)
{
    fprintf(stderr, "qv-sign: %s %s: %s\n", what, path, errno ? strerror(errno) : "wrong contents");
    return 1;
}

static int read_secret(const char* path, unsigned char sk[crypto_sign_SECRETKEYBYTES])
{
    FILE* f = fopen(path, "rb");
    if (!f)
        return fail("cannot read the secret key", path);
    errno = 0;
    const size_t n = fread(sk, 1, crypto_sign_SECRETKEYBYTES, f);
    const int extra = fgetc(f);
    fclose(f);
    if (n != crypto_sign_SECRETKEYBYTES || extra != EOF) {
        errno = 0;
        return fail("not a secret key of 64 bytes:", path);
    }
    return 0;
}

static int keygen(const char* path)
{
    unsigned char pk[crypto_sign_PUBLICKEYBYTES], sk[crypto_sign_SECRETKEYBYTES];
    struct stat st;
    if (stat(path, &st) == 0)
        return 0;
    crypto_sign_keypair(pk, sk);
    /* Readable by its owner only, from the moment it exists. */
    const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return fail("cannot create", path);
    const ssize_t written = write(fd, sk, sizeof sk);
    sodium_memzero(sk, sizeof sk);
    if (written != (ssize_t)sizeof sk || close(fd) != 0) {
        unlink(path);
        return fail("cannot write", path);
    }
    printf("qv-sign: made a key pair in %s\n", path);
    return 0;
}

static int print_public(const char* path)
{
    unsigned char sk[crypto_sign_SECRETKEYBYTES];
    if (read_secret(path, sk))
        return 1;
    char hex[2 * crypto_sign_PUBLICKEYBYTES + 1];
    sodium_bin2hex(hex, sizeof hex, sk + crypto_sign_SEEDBYTES, crypto_sign_PUBLICKEYBYTES);
    sodium_memzero(sk, sizeof sk);
    printf("%s\n", hex);
    return 0;
}

static int sign(const char* key, const char* path)
{
    unsigned char sk[crypto_sign_SECRETKEYBYTES];
    if (read_secret(key, sk))
        return 1;
    FILE* f = fopen(path, "rb");
    if (!f)
        return fail("cannot read", path);
    fseek(f, 0, SEEK_END);
    long size = ftell(f);
    rewind(f);
    unsigned char* data = (unsigned char*)malloc(size > 0 ? (size_t)size : 1);
    if (!data || size < 0 || fread(data, 1, (size_t)size, f) != (size_t)size) {
        fclose(f);
        free(data);
        return fail("cannot read", path);
    }
    fclose(f);
    /* Signing again replaces the earlier signature. */
    const long trailer = crypto_sign_BYTES + (long)sizeof kMarker;
    if (size >= trailer && memcmp(data + size - sizeof kMarker, kMarker, sizeof kMarker) == 0)
        size -= trailer;
    unsigned char sig[crypto_sign_BYTES];
    crypto_sign_detached(sig, NULL, data, (unsigned long long)size, sk);
    sodium_memzero(sk, sizeof sk);
    f = fopen(path, "wb");
    const int ok = f && fwrite(data, 1, (size_t)size, f) == (size_t)size && fwrite(sig, 1, sizeof sig, f) == sizeof sig
        && fwrite(kMarker, 1, sizeof kMarker, f) == sizeof kMarker;
    free(data);
    if (!f || fclose(f) != 0 || !ok)
        return fail("cannot write", path);
    return 0;
}

int main(int argc, char** argv)
{
    if (sodium_init() < 0) {
        fprintf(stderr, "qv-sign: libsodium could not be initialised\n");
        return 1;
    }
    if (argc == 3 && strcmp(argv[1], "keygen") == 0)
        return keygen(argv[2]);
    if (argc == 3 && strcmp(argv[1], "public") == 0)
        return print_public(argv[2]);
    if (argc == 4 && strcmp(argv[1], "sign") == 0)
        return sign(argv[2], argv[3]);
    fprintf(stderr, "usage: qv-sign keygen SECRET | public SECRET | sign SECRET PACKAGE\n");
    return 2;
}
