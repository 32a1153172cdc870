#pragma once
// Building the mikroC table a test saved, with the C compiler of the machine,
// into a small program that prints what the table holds.
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace CompileTest {

// "cc", "gcc" or "clang" from the path; empty when there is none.
inline QString FindCCompiler()
{
    for (const char* Name : {"cc", "gcc", "clang"})
        if (QString Compiler = QStandardPaths::findExecutable(QString::fromLatin1(Name)); !Compiler.isEmpty())
            return Compiler;
    return QString();
}

// Builds Dir/main.c, which includes Dir/font.c and prints the number of
// entries of its table Test_Font and then each entry, one a line, and runs
// it. The test fails when the program cannot be built or does not end; Out
// then holds the lines printed and ExitCode the program's exit code.
inline void RunTableProgram(const QString& Compiler, const QString& Dir, QList<QByteArray>& Out, int& ExitCode)
{
    QFile Main(Dir + QStringLiteral("/main.c"));
    QVERIFY(Main.open(QIODevice::WriteOnly));
    Main.write("#include <stdio.h>\n#include \"font.c\"\n"
               "int main(void)\n{\n"
               "    size_t I, N = sizeof(Test_Font) / sizeof(Test_Font[0]);\n"
               "    printf(\"%u\\n\", (unsigned)N);\n"
               "    for (I = 0; I < N; ++I)\n        printf(\"%u\\n\", (unsigned)Test_Font[I]);\n"
               "    return 0;\n}\n");
    Main.close();

    QProcess Cc;
    Cc.setWorkingDirectory(Dir);
    Cc.setProcessChannelMode(QProcess::MergedChannels);
    Cc.start(Compiler, {"-std=c99", "-Wall", "-Werror", "-o", "prog", "main.c"});
    QVERIFY(Cc.waitForFinished(60000));
    QVERIFY2(Cc.exitCode() == 0, Cc.readAll().constData());

    QProcess Prog;
    Prog.start(Dir + QStringLiteral("/prog"), {});
    QVERIFY(Prog.waitForFinished(30000));
    ExitCode = Prog.exitCode();
    Out = Prog.readAllStandardOutput().trimmed().split('\n');
}

} // namespace CompileTest
