"""A WebDriver BiDi client, as much of one as the browser tests need: commands sent over a
WebSocket and answered in order of their ids, events kept until taken. Firefox speaks BiDi
itself, so it needs no driver of its own."""

import asyncio
import itertools
import json
import re
import threading

import websockets


class BiDi:
    def __init__(self, url):
        self.loop = asyncio.new_event_loop()
        self.thread = threading.Thread(target=self.loop.run_forever, daemon=True)
        self.thread.start()
        self.ids = itertools.count(1)
        self.replies = {}
        self.events = []

        async def connect():
            return await websockets.connect(url, max_size=None)
        self.socket = self._wait(connect())
        asyncio.run_coroutine_threadsafe(self._receive(), self.loop)

    @classmethod
    def from_firefox(cls, stderr):
        """Connects to the Firefox whose standard error is `stderr`, once it listens, and
        goes on reading what it writes there, which nobody else needs."""
        for line in stderr:
            listening = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
            if listening:
                threading.Thread(target=stderr.read, daemon=True).start()
                return cls(listening.group(1) + "/session")
        raise RuntimeError("Firefox ended before listening for WebDriver BiDi")

    def _wait(self, coroutine, timeout=60):
        return asyncio.run_coroutine_threadsafe(coroutine, self.loop).result(timeout)

    async def _receive(self):
        async for text in self.socket:
            message = json.loads(text)
            if message.get("id") in self.replies:
                self.replies.pop(message["id"]).set_result(message)
            elif "method" in message:
                self.events.append(message)

    async def _command(self, method, params):
        reply = self.loop.create_future()
        command = next(self.ids)
        self.replies[command] = reply
        await self.socket.send(json.dumps({"id": command, "method": method, "params": params}))
        return await reply

    def send(self, method, **params):
        """Sends a command and waits for its result; an error reply raises."""
        reply = self._wait(self._command(method, params))
        if reply.get("type") == "error":
            raise RuntimeError("%s: %s: %s" % (method, reply["error"], reply.get("message")))
        return reply["result"]

    def take_events(self):
        taken = []
        while self.events:
            taken.append(self.events.pop(0))
        return taken

    def close(self):
        self._wait(self.socket.close())
        self.loop.call_soon_threadsafe(self.loop.stop)
        self.thread.join()
        self.loop.close()
