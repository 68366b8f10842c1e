#pragma once

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace net::testing {

// A stand-in service program a test starts on 127.0.0.1 and ends with the object. The program writes
// one line once it answers ("listening on ..."): the constructor waits for that line, so a test never
// talks to a program that is not yet listening.
class ServiceProcess {
public:
    explicit ServiceProcess(std::vector<std::string> arguments) {
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);

        int output[2];
        if (pipe(output) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(output[1]);
        FILE* lines = fdopen(output[0], "r");
        char line[128] = "";
        if (lines && std::fgets(line, sizeof line, lines))
            m_firstLine = line;
        if (lines)
            std::fclose(lines);
        else
            close(output[0]);
    }

    ~ServiceProcess() { stop(); }
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    bool started() const { return m_pid > 0; }
    // What the program wrote once it answered; empty when it never did.
    const std::string& firstLine() const { return m_firstLine; }

    // Ends the program; its port is closed afterwards.
    void stop() {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = 0;
    }

private:
    pid_t m_pid = 0;
    std::string m_firstLine;
};

} // namespace net::testing
