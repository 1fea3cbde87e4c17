"""The agent inside a sandbox: it starts the programs that the host asks
for and tells when they end. Every program of the sandbox is its child, so
that all of them share the sandbox's namespaces, and when the agent ends
(the host closed its end, or the sandbox was ended) nothing of them is left.

It runs under the sandbox's own Python with the standard library only.
Messages are JSON on a SOCK_SEQPACKET socket, one message a packet:

    host -> agent  {"op": "start", "id": N, "argv": [...], "cwd": "...",
                    "env": {...}}  with the program's output file as the
                                   packet's one descriptor (or none)
                   {"op": "kill", "id": N}
    agent -> host  {"id": N, "pid": P} or {"id": N, "error": "..."}
                   {"id": N, "exit": CODE}   (negative: ended by that signal)
"""

import json
import os
import signal
import socket
import subprocess
import sys
import threading

MAX_MESSAGE = 1 << 20


class Agent:
    def __init__(self, channel):
        self.channel = channel
        self.children = {}
        self._send_lock = threading.Lock()

    def send(self, message):
        data = json.dumps(message).encode()
        with self._send_lock:
            try:
                self.channel.send(data)
            except OSError:
                pass  # the host is gone; the sandbox ends with it

    def start(self, request, descriptors):
        output = descriptors[0] if descriptors else None
        try:
            child = subprocess.Popen(
                request["argv"], cwd=request.get("cwd") or "/", env=request.get("env") or {},
                stdin=subprocess.DEVNULL,
                stdout=output if output is not None else subprocess.DEVNULL,
                stderr=subprocess.STDOUT if output is not None else subprocess.DEVNULL,
                start_new_session=True)
        except (OSError, ValueError, subprocess.SubprocessError) as error:
            self.send({"id": request["id"], "error": str(error)})
            return
        finally:
            for descriptor in descriptors:
                os.close(descriptor)
        self.children[request["id"]] = child
        self.send({"id": request["id"], "pid": child.pid})
        threading.Thread(target=self._await_end, args=(request["id"], child),
                         daemon=True).start()

    def _await_end(self, ident, child):
        self.send({"id": ident, "exit": child.wait()})

    def kill(self, request):
        child = self.children.get(request["id"])
        if child is not None and child.poll() is None:
            try:
                child.send_signal(signal.SIGKILL)
            except OSError:
                pass

    def serve(self):
        while True:
            try:
                data, descriptors, _, _ = socket.recv_fds(self.channel, MAX_MESSAGE, 4)
            except OSError:
                return
            if not data:
                return
            request = json.loads(data)
            if request["op"] == "start":
                self.start(request, descriptors)
            else:
                for descriptor in descriptors:
                    os.close(descriptor)
                if request["op"] == "kill":
                    self.kill(request)


def main(argv):
    channel = socket.socket(fileno=int(argv[1]))
    Agent(channel).serve()
    # Leaving ends the sandbox's first process, and with it every other.
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
