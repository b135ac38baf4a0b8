#include "graph/whole_file/whole_file.h"

bool WriteWhole(QSaveFile& file, const QByteArray& bytes)
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return file.commit();
}
