// streams: binary file input and output. The only place of the system that
// throws: every failure is an exception carrying a message and a position.
#pragma once
#include <cstdio>

struct StreamIOException {
    char message[512];  // at most 511 characters
    int code;           // file position when it happened, -1 without file or for a negative size
    StreamIOException(const char* msg, int code);
};

class InputStream {
public:
    struct Exception : StreamIOException {
        Exception(const char* msg, int errorCode) : StreamIOException(msg, errorCode) {}
    };
    virtual ~InputStream() {}
    // Up to n bytes; 0 when no file is open or n <= 0. Never throws.
    virtual int readSome(void* buffer, int n) = 0;
    // Exactly n bytes, or throws.
    virtual void readExact(void* buffer, int n) = 0;
    virtual int tell() = 0;
    virtual void seekSet(int position) = 0;
    virtual void seekCur(int offset) = 0;
    virtual void seekEnd(int offset) = 0;
};

class OutputStream {
public:
    struct Exception : StreamIOException {
        Exception(const char* msg, int errorCode) : StreamIOException(msg, errorCode) {}
    };
    virtual ~OutputStream() {}
    virtual void writeExact(const void* buffer, int n) = 0;
    virtual int tell() = 0;
    virtual void seekSet(int position) = 0;
    virtual void seekEnd(int offset) = 0;
};

class FileInputStream : public InputStream {
public:
    FILE* file;
    FileInputStream() : file(nullptr) {}
    FileInputStream(const char* name, const char* mode);
    explicit FileInputStream(FILE* f) : file(f) {}  // takes the handle over
    ~FileInputStream() override { close(); }
    bool open(const char* name, const char* mode);
    void close();
    int readSome(void* buffer, int n) override;
    void readExact(void* buffer, int n) override;
    int tell() override;
    void seekSet(int position) override;
    void seekCur(int offset) override;
    void seekEnd(int offset) override;

private:
    void seek(long offset, int whence);
    FileInputStream(const FileInputStream&) = delete;
    FileInputStream& operator=(const FileInputStream&) = delete;
};

class FileOutputStream : public OutputStream {
public:
    FILE* file;
    FileOutputStream() : file(nullptr) {}
    FileOutputStream(const char* name, const char* mode);
    explicit FileOutputStream(FILE* f) : file(f) {}  // takes the handle over
    ~FileOutputStream() override { close(); }
    bool open(const char* name, const char* mode);
    // Closes the file; false if buffered data could not be written out.
    bool close();
    void writeExact(const void* buffer, int n) override;
    int tell() override;
    void seekSet(int position) override;
    void seekEnd(int offset) override;

private:
    void seek(long offset, int whence);
    FileOutputStream(const FileOutputStream&) = delete;
    FileOutputStream& operator=(const FileOutputStream&) = delete;
};
